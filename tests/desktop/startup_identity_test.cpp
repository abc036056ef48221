// Start-up tells the desktop who the window is: the application id that names the launcher, the
// icon and the metainfo, and the application icon in every size, on the window itself. The
// launcher's token is for this start alone: the programs it starts must not inherit it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QTimer>
#include <QUuid>
#include <algorithm>
#include <map>

#include "shell/app_icon.h"
#include "shell/main_window.h"
#include "shell/startup.h"

namespace mirvane::shell {
namespace {

QString ReadText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST(Startup, NamesTheLauncherGivesTheWindowTheIconAndPassesNoTokenOn) {
    qputenv("XDG_ACTIVATION_TOKEN", "mirvane-test-token");
    qputenv("DESKTOP_STARTUP_ID", "mirvane-test-id_TIME1");
    bool tokenLeft = true;
    QString desktopFileName;
    std::map<int, QImage> windowIcon;  // by the size asked for
    bool sameAsApplicationIcon = false;
    StartupOptions options;
    options.instanceName =
        QStringLiteral("mirvane-test-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    options.windowShown = [&](MainWindow& window) {
        tokenLeft = qEnvironmentVariableIsSet("XDG_ACTIVATION_TOKEN") ||
                    qEnvironmentVariableIsSet("DESKTOP_STARTUP_ID");
        desktopFileName = QGuiApplication::desktopFileName();
        const QIcon icon = window.windowIcon();
        for (const QSize& size : icon.availableSizes()) {
            windowIcon[size.width()] = icon.pixmap(size).toImage();
        }
        sameAsApplicationIcon = icon.cacheKey() == QApplication::windowIcon().cacheKey();
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    };
    char name[] = "desktop_startup_tests";
    char* argv[] = {name, nullptr};
    int argc = 1;
    ASSERT_EQ(RunMirvane(argc, argv, options), kExitNormal);
    EXPECT_FALSE(tokenLeft);

    // One id for the launcher's file name, its icon and the metainfo that points to it.
    EXPECT_EQ(desktopFileName, QLatin1String(kApplicationId));
    const QString desktopDir = QStringLiteral(MIRVANE_DESKTOP_DIR "/");
    const QString launcher = ReadText(desktopDir + desktopFileName + ".desktop");
    EXPECT_TRUE(launcher.contains("\nIcon=" + desktopFileName + "\n")) << launcher.toStdString();
    const QString metainfo = ReadText(desktopDir + desktopFileName + ".metainfo.xml");
    EXPECT_TRUE(metainfo.contains("<id>" + desktopFileName + "</id>"));
    EXPECT_TRUE(metainfo.contains(">" + desktopFileName + ".desktop</launchable>"));

    // Every size, each the drawing rasterised at that size: transparent outside the sheet, the
    // title band in ink.
    EXPECT_TRUE(sameAsApplicationIcon);
    std::vector<int> sizes;
    for (const auto& [size, image] : windowIcon) {
        sizes.push_back(size);
        ASSERT_EQ(image.size(), QSize(size, size));
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << size;
        EXPECT_EQ(image.pixel(size / 2, size * 3 / 16), 0xff412b3du) << size;
    }
    EXPECT_EQ(sizes, (std::vector<int>{16, 24, 32, 48, 64, 128, 256}));
}

}  // namespace
}  // namespace mirvane::shell
