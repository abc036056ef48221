// Measures the time from a process start to the first sheet painted in the main window, the
// first composition of the four Aral Sea photographs included. The program runs itself as the
// measured child: a real start-up of Mirvane, offscreen unless a platform is set, under a name
// of its own so that it never hands over to a Mirvane that is open.
//   bench_startup [runs]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QProcess>
#include <QTimer>
#include <QUuid>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "sheet/current_sheet.h"
#include "shell/main_window.h"
#include "shell/startup.h"

namespace {

constexpr char kChildFlag[] = "--measured-start";
constexpr int kTimeoutMs = 30000;

// Reports once the first paint of the window with a sheet has been handled, then ends.
class FirstPaint : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !reported_ &&
            mirvane::currentSheet.frames.size() >= 2) {
            reported_ = true;
            watched->removeEventFilter(this);
            // Queued, so that the report follows the paint rather than precedes it.
            QTimer::singleShot(0, qApp, [] {
                std::puts("painted");
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return false;
    }

  private:
    bool reported_ = false;
};

int RunChild(int& argc, char** argv) {
    mirvane::shell::StartupOptions options;
    options.instanceName = QString::fromLocal8Bit(argv[2]);
    options.windowShown = [](mirvane::shell::MainWindow& window) {
        window.installEventFilter(new FirstPaint(&window));
    };
    return mirvane::shell::RunMirvane(argc, argv, options);
}

// One measured start in milliseconds, or a negative value when it failed.
double MeasureOneStart(const QString& program) {
    QProcess child;
    child.setProgram(program);
    child.setArguments({QString::fromLatin1(kChildFlag),
                        QStringLiteral("mirvane-bench-") + QUuid::createUuid().toString()});
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    child.start();
    while (!child.canReadLine() && child.waitForReadyRead(kTimeoutMs)) {
    }
    const double elapsed = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    const bool painted = child.readLine().trimmed() == "painted";
    if (!child.waitForFinished(kTimeoutMs)) {
        child.kill();
        child.waitForFinished(kTimeoutMs);
    }
    return painted && child.exitCode() == 0 ? elapsed : -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], kChildFlag) == 0) {
        return RunChild(argc, argv);
    }
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QCoreApplication application(argc, argv);
    const QString self = QCoreApplication::applicationFilePath();

    MeasureOneStart(self);  // warm-up: page cache and font cache
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double ms = MeasureOneStart(self);
        if (ms < 0) {
            std::fprintf(stderr, "start %d did not paint a sheet\n", i + 1);
            return 1;
        }
        times.push_back(ms);
    }
    std::sort(times.begin(), times.end());
    std::printf("start to first painted sheet (%s, %d runs): median %.1f ms, min %.1f, max %.1f\n",
                qPrintable(qEnvironmentVariable("QT_QPA_PLATFORM")), runs, times[times.size() / 2],
                times.front(), times.back());
    return 0;
}
