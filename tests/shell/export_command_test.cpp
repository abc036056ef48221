#include "shell/export_command.h"

#include <QDir>
#include <QImage>
#include <QMimeData>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <memory>

#include "export/exports_folder.h"
#include "localization/status_line.h"
#include "localization/ui_text.h"
#include "main_window_fixture.h"
#include "render/sheet_geometry.h"
#include "support/pair_files.h"

namespace mirvane::shell::testing {
namespace {

// An export of the first sheet at 3000 pixels takes well under this even under a sanitizer.
constexpr int kExportBoundMs = 120000;

const std::vector<int> kFirstSheet = {2000, 2006, 2012, 2018};

// Every test gets a data folder of its own, so exports land in a fresh exports folder.
class ExportCommandTest : public MainWindowTest {
  protected:
    void SetUp() override {
        savedDataHome_ = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", dataHome_.path().toUtf8());
        InitializeExportsFolder();
        MainWindowTest::SetUp();
    }
    void TearDown() override {
        // A running export must end before its window and folder go.
        EXPECT_TRUE(QTest::qWaitFor([] { return !exportBusy; }, kExportBoundMs));
        MainWindowTest::TearDown();
        if (savedDataHome_.isNull()) {
            qunsetenv("XDG_DATA_HOME");
        } else {
            qputenv("XDG_DATA_HOME", savedDataHome_);
        }
        InitializeExportsFolder();
    }

    QStringList Exports() const {
        return QDir(QString::fromStdString(exportsFolder.string())).entryList(QDir::Files);
    }

    void ExpectBusy(bool busy) const {
        EXPECT_EQ(exportBusy, busy);
        for (const int id : {100, 101, 102, 103, 104, 105, 106, 110}) {
            EXPECT_EQ(Find(id)->isEnabled(), !busy) << id;
        }
        for (const int id : {107, 108, 109}) {
            EXPECT_TRUE(Find(id)->isEnabled()) << id;
        }
    }

    // Starts an export whose job is kept here instead of running, so that the test decides when
    // and how it ends.
    std::unique_ptr<ExportJob> StartHeldExport() {
        std::unique_ptr<ExportJob> held;
        StartExport(*window_, [&held](std::unique_ptr<ExportJob> job) {
            held = std::move(job);
            return true;
        });
        return held;
    }

    QTemporaryDir dataHome_;
    QByteArray savedDataHome_;
};

TEST_F(ExportCommandTest, ExportPngWritesTheSheetOnAWorkerWhileTheWindowWaitsGreyed) {
    Selector(104)->setCurrentIndex(1);
    Click(106);
    ExpectBusy(true);
    EXPECT_EQ(statusText, "Rendering full-resolution PNG...");
    EXPECT_FALSE(statusIsError);

    // Nothing that would replace the sheet or start a second export gets through meanwhile.
    window_->Commands().Dispatch(106, kClicked);
    TickOnly({2001, 2002});
    window_->Commands().Dispatch(102, kClicked);
    const QString pair = dataHome_.filePath("a.qmp");
    ASSERT_TRUE(mirvane::testing::WriteGreyPair(pair, 1990, 1991));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(pair)});
    QDropEvent drop(QPointF(600, 400), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window_.get(), &drop);
    EXPECT_EQ(SheetYears(), kFirstSheet);
    EXPECT_EQ(statusText, "Rendering full-resolution PNG...");

    ASSERT_TRUE(QTest::qWaitFor([] { return !exportBusy; }, kExportBoundMs));
    ExpectBusy(false);
    EXPECT_EQ(statusText, "PNG exported. Select Open exports to view the file.");
    EXPECT_FALSE(statusIsError);

    const QStringList files = Exports();
    ASSERT_EQ(files.size(), 1);
    EXPECT_TRUE(
        QRegularExpression(R"(^sheet-\d{8}-\d{6}-\d{3}-000\.png$)").match(files.front()).hasMatch())
        << files.front().toStdString();
    const QImage png(QDir(QString::fromStdString(exportsFolder.string())).filePath(files.front()));
    const SheetGeometry geometry = ComputeSheetGeometry(3000, 3, 4);
    EXPECT_EQ(png.size(), QSize(geometry.width, geometry.height));
}

TEST_F(ExportCommandTest, TheJobSnapshotsTheSheetTheSelectorsAndTheLanguageOfTheMoment) {
    Selector(105)->setCurrentIndex(1);
    SetUiLanguage(UiLanguage::Spanish);
    std::unique_ptr<ExportJob> job = StartHeldExport();
    ASSERT_NE(job, nullptr);
    EXPECT_EQ(statusText, "Creando PNG a resolución completa...");
    EXPECT_EQ(job->columns, 2);
    EXPECT_EQ(job->width, 4500);
    EXPECT_EQ(job->language, UiLanguage::Spanish);
    EXPECT_EQ(job->targetPath.parent_path(), exportsFolder);
    ASSERT_EQ(job->sheet.frames.size(), currentSheet.frames.size());
    EXPECT_EQ(job->sheet.title, currentSheet.title);
    EXPECT_EQ(job->sheet.frames[0].encodedBytes, currentSheet.frames[0].encodedBytes)
        << "the photographs are shared, not copied";

    // The completion speaks the language of its own moment.
    SetUiLanguage(UiLanguage::German);
    job->report(true);
    ASSERT_TRUE(QTest::qWaitFor([] { return !exportBusy; }, kExportBoundMs));
    ExpectBusy(false);
    EXPECT_EQ(statusText, UiText(TextId::ExportDoneStatus));
    EXPECT_TRUE(statusText.startsWith("PNG exportiert"));
}

TEST_F(ExportCommandTest, AFailedExportShowsTheFailureAndFreesTheWindow) {
    std::unique_ptr<ExportJob> job = StartHeldExport();
    ASSERT_NE(job, nullptr);
    job->report(false);
    ASSERT_TRUE(QTest::qWaitFor([] { return !exportBusy; }, kExportBoundMs));
    ExpectBusy(false);
    EXPECT_EQ(statusText, UiText(TextId::ExportFailedStatus));
    EXPECT_TRUE(statusIsError);
}

TEST_F(ExportCommandTest, AWorkerThatCannotStartUndoesTheBusyState) {
    StartExport(*window_, [](std::unique_ptr<ExportJob>) { return false; });
    ExpectBusy(false);
    EXPECT_EQ(statusText, UiText(TextId::ExportFailedStatus));
    EXPECT_TRUE(statusIsError);
}

TEST_F(ExportCommandTest, NothingHappensWithFewerThanTwoFramesOrWhileBusy) {
    int starts = 0;
    const ExportThreadStarter count = [&starts](std::unique_ptr<ExportJob>) {
        ++starts;
        return true;
    };
    const QString status = statusText;
    exportBusy = true;
    StartExport(*window_, count);
    exportBusy = false;
    ReplaceCurrentSheet(Sheet{});
    StartExport(*window_, count);
    EXPECT_EQ(starts, 0);
    EXPECT_EQ(statusText, status);
    ExpectBusy(false);
    EXPECT_TRUE(Exports().isEmpty());
}

TEST_F(ExportCommandTest, NoExportsFolderMeansTheFailureStatusAndNoJob) {
    // A file where the data folder should be: the exports folder cannot be made under it.
    const QString blocker = dataHome_.filePath("blocked");
    QFile(blocker).open(QIODevice::WriteOnly);
    qputenv("XDG_DATA_HOME", blocker.toUtf8());
    InitializeExportsFolder();
    int starts = 0;
    StartExport(*window_, [&starts](std::unique_ptr<ExportJob>) { return ++starts > 0; });
    EXPECT_EQ(starts, 0);
    EXPECT_EQ(statusText, UiText(TextId::ExportFailedStatus));
    EXPECT_TRUE(statusIsError);
    ExpectBusy(false);
}

TEST_F(ExportCommandTest, ACompletionAfterTheWindowIsGoneIsDropped) {
    std::unique_ptr<ExportJob> job = StartHeldExport();
    ASSERT_NE(job, nullptr);
    window_.reset();
    job->report(true);
    QCoreApplication::processEvents();
    EXPECT_TRUE(exportBusy) << "no window took the completion";
    exportBusy = false;
}

}  // namespace
}  // namespace mirvane::shell::testing
