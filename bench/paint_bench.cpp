// Measures the main window's painting at 1164 x 801: a full repaint through the back buffer and
// the clock's footer-only repaint, with the start-up sheet (Aral Sea 2000, 2006, 2012, 2018).
//   bench_paint [runs] [-o DIR]   (-o also saves the window at scale 1 and 1.5, for looking at)
#include <QApplication>
#include <QPaintEvent>
#include <QString>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "archive/catalog.h"
#include "bench_util.h"
#include "localization/status_line.h"
#include "localization/ui_language.h"
#include "render/fonts.h"
#include "sheet/compose.h"
#include "sheet/current_sheet.h"
#include "shell/window_painting.h"

namespace {

class PaintedWindow : public QWidget {
  public:
    PaintedWindow() {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_NoSystemBackground);
        resize(1164, 801);
    }
    int paints = 0;

  protected:
    void paintEvent(QPaintEvent* event) override {
        ++paints;
        mirvane::shell::PaintMainWindow(*this, event->rect(), 2);
    }
};

std::vector<int> StartupRows() {
    std::vector<int> rows;
    for (const int row : mirvane::ArchiveRowsOf(u"Aral Sea")) {
        const int year = mirvane::archiveCatalog[row].year;
        if (year == 2000 || year == 2006 || year == 2012 || year == 2018) {
            rows.push_back(row);
        }
    }
    return rows;
}

}  // namespace

int main(int argc, char** argv) {
    const auto [runs, saveDir] = mirvane::bench::ParseBenchArguments(argc, argv, 101);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    if (!mirvane::RegisterFonts()) {
        std::fputs("no font to draw with\n", stderr);
        return 1;
    }
    std::optional<mirvane::Sheet> sheet = mirvane::ComposeFromArchive(StartupRows());
    if (!sheet || sheet->frames.size() != 4) {
        std::fputs("composition failed\n", stderr);
        return 1;
    }
    mirvane::ReplaceCurrentSheet(std::move(*sheet));
    mirvane::SetStatusText(QStringLiteral("Ready. Your contact sheet is fully offline."), false);

    PaintedWindow window;
    window.show();
    QCoreApplication::processEvents();
    std::printf("window %d x %d at pixel ratio %.2f\n", window.width(), window.height(),
                window.devicePixelRatioF());

    // Each step must have painted once, or the figure measures nothing.
    window.paints = 0;
    const double fullMs = mirvane::bench::MedianMs(runs, [&] { window.repaint(); });
    std::printf("full repaint: median %.2f ms over %d runs (%d paints)\n", fullMs, runs,
                window.paints);
    const QRect band = mirvane::shell::FooterBandRect(window);
    window.paints = 0;
    const double footerMs = mirvane::bench::MedianMs(runs, [&] { window.repaint(band); });
    std::printf("footer-only repaint: median %.3f ms over %d runs (%d paints)\n", footerMs, runs,
                window.paints);

    // Where the full repaint's time goes: the back buffer with and without the preview.
    const double composeMs = mirvane::bench::MedianMs(
        runs, [&] { mirvane::shell::ComposeWindowImage(window.size(), 1.0f, 2); });
    mirvane::Sheet shown = mirvane::currentSheet;
    mirvane::ReplaceCurrentSheet(mirvane::Sheet{});
    const double emptyMs = mirvane::bench::MedianMs(
        runs, [&] { mirvane::shell::ComposeWindowImage(window.size(), 1.0f, 2); });
    mirvane::ReplaceCurrentSheet(std::move(shown));
    std::printf("back buffer alone: median %.2f ms, of which the preview %.2f ms\n", composeMs,
                composeMs - emptyMs);

    if (saveDir != nullptr) {
        const QString dir = QString::fromLocal8Bit(saveDir);
        for (const float scale : {1.0f, 1.5f}) {
            mirvane::shell::ComposeWindowImage(window.size(), scale, 2)
                .save(dir + QStringLiteral("/window_%1.png").arg(scale * 100));
        }
    }
    return 0;
}
