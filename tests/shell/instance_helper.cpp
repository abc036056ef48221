// A real start-up of Mirvane under a name the test gives: it prints "ready" once its window is
// up (hidden first when asked) and "shown" when a later start brings the window back, then ends.
// A later start under the same name prints nothing and ends at once.
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <cstdio>
#include <cstring>

#include "shell/main_window.h"
#include "shell/startup.h"

namespace {

void Say(const char* line) {
    std::puts(line);
    std::fflush(stdout);
}

class ShowWatcher : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            Say("shown");
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        }
        return false;
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: mirvane_instance_helper NAME shown|hidden\n", stderr);
        return 64;
    }
    mirvane::shell::StartupOptions options;
    options.instanceName = QString::fromLocal8Bit(argv[1]);
    const bool hidden = std::strcmp(argv[2], "hidden") == 0;
    options.windowShown = [hidden](mirvane::shell::MainWindow& window) {
        if (hidden) {
            window.hide();
        }
        window.installEventFilter(new ShowWatcher(&window));
        Say("ready");
    };
    return mirvane::shell::RunMirvane(argc, argv, options);
}
