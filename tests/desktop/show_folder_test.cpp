// "Open exports" on the Linux desktop: the file manager's own interface where the session bus
// has one, the folder's URL otherwise. ctest runs this program twice, on a private session bus
// (MIRVANE_TEST_BUS=private) and with no session bus at all (MIRVANE_TEST_BUS=none); each test
// skips under the other, and all of them skip when run by hand, away from the user's own bus.
#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "export/exports_folder.h"

namespace mirvane {
namespace {

// A bound against hanging only: a sanitized start of the responder is slow, never this slow.
constexpr int kWaitMs = 30000;

const QString kFileManager = QStringLiteral("org.freedesktop.FileManager1");

bool BusIs(const char* mode) {
    return qgetenv("MIRVANE_TEST_BUS") == mode;
}

// Catches what QDesktopServices::openUrl would hand to the desktop for file URLs.
class UrlCatcher : public QObject {
    Q_OBJECT

  public:
    UrlCatcher() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "Open"); }
    ~UrlCatcher() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }

    std::vector<QUrl> urls;

  public slots:
    void Open(const QUrl& url) { urls.push_back(url); }
};

// The fake file manager (file_manager_responder.cpp), running on the session bus.
class FileManagerResponder {
  public:
    FileManagerResponder() {
        process_.setProgram(QStringLiteral(MIRVANE_FILE_MANAGER_RESPONDER));
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start();
    }
    ~FileManagerResponder() {
        process_.kill();
        process_.waitForFinished(kWaitMs);
    }

    // Its next line, or an empty string when it ends or says nothing in time.
    QString NextLine() {
        QDeadlineTimer deadline(kWaitMs);
        while (!process_.canReadLine()) {
            if (!process_.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
                return {};
            }
        }
        return QString::fromUtf8(process_.readLine()).chopped(1);
    }

  private:
    QProcess process_;
};

// An exports folder of its own under a data folder whose name needs escaping in a URL.
class ShowExportsFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(scratch_.isValid());
        dataHome_ = scratch_.path() + QStringLiteral("/data home \u00fc");
        ::setenv("XDG_DATA_HOME", dataHome_.toUtf8().constData(), 1);
        InitializeExportsFolder();
    }
    void TearDown() override { ::unsetenv("XDG_DATA_HOME"); }

    QString Folder() const { return dataHome_ + QStringLiteral("/Mirvane/Exports"); }

    // The folder's URL as the file manager gets it: percent-encoded UTF-8.
    QString EncodedUrl() const {
        return QStringLiteral("file://") + scratch_.path() +
               QStringLiteral("/data%20home%20%C3%BC/Mirvane/Exports");
    }

    // Waits until the URL opener got something, or the bound ran out.
    static bool Opened(const UrlCatcher& catcher) {
        return QTest::qWaitFor([&] { return !catcher.urls.empty(); }, kWaitMs);
    }

  private:
    QTemporaryDir scratch_;
    QString dataHome_;
};

TEST_F(ShowExportsFolder, AsksTheFileManagerOnTheSessionBusAndNothingElse) {
    if (!BusIs("private")) {
        GTEST_SKIP() << "ctest runs this on a private session bus";
    }
    FileManagerResponder fileManager;
    ASSERT_EQ(fileManager.NextLine(), "ready");
    UrlCatcher catcher;

    OpenExportsFolder();
    EXPECT_EQ(fileManager.NextLine(), QStringLiteral("ShowFolders\t\t") + EncodedUrl());
    EXPECT_TRUE(std::filesystem::is_directory(Folder().toStdString()));

    // The file manager's answer to a ping comes after its answer to the call, so once the ping
    // is back, the call's answer waits in this thread's queue: handle it, then look.
    const QDBusMessage ping = QDBusConnection::sessionBus().call(
        QDBusMessage::createMethodCall(kFileManager, QStringLiteral("/"),
                                       QStringLiteral("org.freedesktop.DBus.Peer"),
                                       QStringLiteral("Ping")),
        QDBus::Block, kWaitMs);
    ASSERT_EQ(ping.type(), QDBusMessage::ReplyMessage) << ping.errorMessage().toStdString();
    QCoreApplication::processEvents();
    EXPECT_TRUE(catcher.urls.empty()) << "the folder's URL was opened as well";
}

TEST_F(ShowExportsFolder, OpensTheFolderUrlWhenNoFileManagerIsOnTheBus) {
    if (!BusIs("private")) {
        GTEST_SKIP() << "ctest runs this on a private session bus";
    }
    // A responder of an earlier test may still be leaving the bus.
    QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    ASSERT_NE(bus, nullptr);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return !bus->isServiceRegistered(kFileManager).value(); }, kWaitMs));
    UrlCatcher catcher;

    OpenExportsFolder();
    ASSERT_TRUE(Opened(catcher));
    EXPECT_EQ(catcher.urls, std::vector<QUrl>{QUrl::fromLocalFile(Folder())});
    EXPECT_TRUE(std::filesystem::is_directory(Folder().toStdString()));
}

TEST_F(ShowExportsFolder, OpensTheFolderUrlWithoutASessionBus) {
    if (!BusIs("none")) {
        GTEST_SKIP() << "ctest runs this with no session bus";
    }
    ASSERT_FALSE(QDBusConnection::sessionBus().isConnected());
    UrlCatcher catcher;

    OpenExportsFolder();
    ASSERT_TRUE(Opened(catcher));
    EXPECT_EQ(catcher.urls, std::vector<QUrl>{QUrl::fromLocalFile(Folder())});
    EXPECT_TRUE(std::filesystem::is_directory(Folder().toStdString()));
}

}  // namespace
}  // namespace mirvane

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

#include "show_folder_test.moc"
