// The main window as the offscreen platform renders it, written to the PNG file named by the
// first argument once the window is up; then the program ends. The sessions' screenshots are
// compared with it.
#include <QCoreApplication>
#include <QImage>
#include <QTimer>
#include <cstdio>

#include "shell/main_window.h"
#include "shell/startup.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: mirvane_window_snapshot OUT.png INSTANCE-NAME\n", stderr);
        return 64;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    mirvane::shell::StartupOptions options;
    options.instanceName = QString::fromLocal8Bit(argv[2]);
    int result = 1;
    options.windowShown = [&](mirvane::shell::MainWindow& window) {
        // After the first turns of the loop, where the year list lays out its rows.
        QTimer::singleShot(0, &window, [&] {
            QCoreApplication::processEvents();
            result = window.grab().toImage().save(out) ? 0 : 1;
            QCoreApplication::exit(0);
        });
    };
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const int code = mirvane::shell::RunMirvane(argc, argv, options);
    return code != 0 ? code : result;
}
