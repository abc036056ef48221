// Measures how long the window's event loop stalls while the heaviest sheet (six of the largest
// photographs, three columns, 4500 px) exports on its worker: a timer asks for a full repaint
// every millisecond, and the longest gap between two of its turns is the stall a user would feel.
//   bench_export_stall [runs]
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "archive_rows.h"
#include "bench_util.h"
#include "export/exports_folder.h"
#include "localization/status_line.h"
#include "render/fonts.h"
#include "sheet/compose.h"
#include "sheet/current_sheet.h"
#include "sheet/export_gate.h"
#include "shell/control_ids.h"
#include "shell/controls.h"
#include "shell/main_window.h"

namespace {

struct Stall {
    double longestMs = 0;
    double exportMs = 0;
    int turns = 0;
};

// One export from the Export PNG command to its completion, with the loop watched throughout.
Stall WatchOneExport(mirvane::shell::MainWindow& window) {
    Stall stall;
    QElapsedTimer clock;
    QElapsedTimer sinceLastTurn;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        stall.longestMs = std::max(stall.longestMs, sinceLastTurn.nsecsElapsed() / 1e6);
        sinceLastTurn.restart();
        ++stall.turns;
        window.update();
        if (!mirvane::exportBusy) {
            QCoreApplication::exit(0);
        }
    });
    clock.start();
    sinceLastTurn.start();
    window.Commands().Dispatch(mirvane::shell::IDC_EXPORT, mirvane::shell::kClicked);
    ticker.start();
    QApplication::exec();
    stall.exportMs = clock.nsecsElapsed() / 1e6;
    return stall;
}

}  // namespace

int main(int argc, char** argv) {
    const auto [runs, saveDir] = mirvane::bench::ParseBenchArguments(argc, argv, 5);
    (void)saveDir;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
    QApplication app(argc, argv);
    if (!mirvane::RegisterFonts()) {
        std::fputs("no font to draw with\n", stderr);
        return 1;
    }
    mirvane::InitializeExportsFolder();
    mirvane::shell::MainWindow window([] {});
    window.show();

    std::optional<mirvane::Sheet> heaviest =
        mirvane::ComposeFromArchive(mirvane::bench::LargestRowsOfOnePlace(6));
    if (!heaviest) {
        std::fputs("the heaviest sheet cannot be composed\n", stderr);
        return 1;
    }
    mirvane::ReplaceCurrentSheet(std::move(*heaviest));
    for (const int id : {mirvane::shell::IDC_COLUMNS, mirvane::shell::IDC_PNG_WIDTH}) {
        qobject_cast<QComboBox*>(mirvane::shell::FindControl(window, id))->setCurrentIndex(1);
    }

    std::vector<Stall> stalls;
    for (int i = 0; i < runs; ++i) {
        stalls.push_back(WatchOneExport(window));
        if (mirvane::statusIsError) {
            std::fputs("the export failed\n", stderr);
            return 1;
        }
        std::printf("run %d: longest stall %.1f ms over %d turns, export %.0f ms\n", i + 1,
                    stalls.back().longestMs, stalls.back().turns, stalls.back().exportMs);
    }
    std::sort(stalls.begin(), stalls.end(),
              [](const Stall& a, const Stall& b) { return a.longestMs < b.longestMs; });
    const Stall& median = stalls[stalls.size() / 2];
    const Stall& worst = stalls.back();
    std::printf(
        "heaviest sheet, 6 frames, 3 columns, 4500 px, %d runs: median longest stall %.1f "
        "ms, worst %.1f ms\n",
        runs, median.longestMs, worst.longestMs);
    mirvane::ReleaseCurrentSheetFrames();
    return 0;
}
