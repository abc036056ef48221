// Measures the sheet renderer: the window's preview of a six-frame sheet into a 1180 x 840
// surface, and the full-resolution render of the heaviest archive sheet (the six largest
// photographs of one place, 4500 pixels, 2 columns) into both 32-bit layouts.
//   bench_render [runs] [-o DIR]   (-o also saves the renders as PNG, for looking at)
#include <QGuiApplication>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "archive/archive_photo.h"
#include "archive_rows.h"
#include "bench_util.h"
#include "localization/ui_language.h"
#include "render/fonts.h"
#include "render/sheet_renderer.h"
#include "sheet/compose.h"

namespace {

using mirvane::archiveCatalog;
using mirvane::imaging::Bitmap;
using mirvane::imaging::PixelFormat;

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The preview as the window paints it: the 3000-pixel sheet scaled into the preview well.
Bitmap RenderPreview(const mirvane::Sheet& sheet, int clientWidth, int clientHeight) {
    const float w = static_cast<float>(clientWidth);
    const float h = static_cast<float>(clientHeight);
    const mirvane::SheetGeometry geometry =
        mirvane::ComputeSheetGeometry(3000, 2, static_cast<std::int32_t>(sheet.frames.size()));
    const float height = static_cast<float>(geometry.height);
    const float k = std::min((h - 307 - 28) / height, (w - 362 - 38) / 3000);
    const float ox = 324 + (w - 362 - 3000 * k) * 0.5f;
    const float oy = 191 + (h - 307 - height * k) * 0.5f;
    Bitmap surface;
    mirvane::imaging::CreateBitmap(clientWidth, clientHeight, PixelFormat::Pargb32, &surface);
    mirvane::imaging::Graphics graphics(surface);
    graphics.TranslateTransform(ox, oy);
    graphics.ScaleTransform(k, k);
    if (!mirvane::RenderSheet(graphics, sheet, geometry, false, mirvane::UiLanguage::English)) {
        std::abort();
    }
    return surface;
}

Bitmap RenderExport(const mirvane::Sheet& sheet, std::int32_t width, PixelFormat format) {
    const mirvane::SheetGeometry geometry =
        mirvane::ComputeSheetGeometry(width, 2, static_cast<std::int32_t>(sheet.frames.size()));
    Bitmap target;
    mirvane::imaging::CreateBitmap(geometry.width, geometry.height, format, &target);
    mirvane::imaging::Graphics graphics(target);
    if (!mirvane::RenderSheet(graphics, sheet, geometry, true, mirvane::UiLanguage::English)) {
        std::abort();
    }
    return target;
}

}  // namespace

int main(int argc, char** argv) {
    const auto [runs, saveDir] = mirvane::bench::ParseBenchArguments(argc, argv, 15);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    if (!mirvane::RegisterFonts()) {
        std::fputs("no font to draw with\n", stderr);
        return 1;
    }
    const std::vector<int> rows = mirvane::bench::LargestRowsOfOnePlace(6);
    const std::optional<mirvane::Sheet> sheet = mirvane::ComposeFromArchive(rows);
    if (!sheet) {
        std::fputs("composition failed\n", stderr);
        return 1;
    }
    std::printf("peak memory after composing: %.0f MB\n", mirvane::bench::PeakResidentMb());
    std::printf("sheet: %s, rows", sheet->title.toUtf8().constData());
    for (int row : rows) {
        std::printf(" %d", row);
    }
    std::printf("\n");

    const double previewMs =
        mirvane::bench::MedianMs(runs, [&] { RenderPreview(*sheet, 1180, 840); });
    std::printf("preview into 1180 x 840: median %.2f ms over %d runs\n", previewMs, runs);

    const int exportRuns = std::max(3, runs / 2);
    for (const PixelFormat format : {PixelFormat::Pargb32, PixelFormat::Argb32}) {
        const double baseMb = mirvane::bench::PeakResidentMb();
        const double cpuBefore = CpuSeconds();
        const double exportMs =
            mirvane::bench::MedianMs(exportRuns, [&] { RenderExport(*sheet, 4500, format); });
        const double cpuMs = (CpuSeconds() - cpuBefore) * 1000 / (exportRuns + 1);
        std::printf(
            "full resolution, 4500 px, %s: median %.1f ms over %d runs (%.0f ms of CPU a run), "
            "peak %.0f MB (+%.0f)\n",
            format == PixelFormat::Pargb32 ? "PARGB32" : "ARGB32", exportMs, exportRuns, cpuMs,
            mirvane::bench::PeakResidentMb(), mirvane::bench::PeakResidentMb() - baseMb);
    }

    // The sheet the program starts with: Aral Sea 2000, 2006, 2012, 2018.
    std::vector<int> aral;
    for (std::size_t row = 0; row < archiveCatalog.size(); ++row) {
        const int year = archiveCatalog[row].year;
        if (archiveCatalog[row].location == std::u16string_view(u"Aral Sea") &&
            (year == 2000 || year == 2006 || year == 2012 || year == 2018)) {
            aral.push_back(static_cast<int>(row));
        }
    }
    const std::optional<mirvane::Sheet> typical = mirvane::ComposeFromArchive(aral);
    if (typical) {
        const double typicalMs = mirvane::bench::MedianMs(
            runs, [&] { RenderExport(*typical, 3000, PixelFormat::Pargb32); });
        std::printf("full resolution, Aral Sea 2000-2018, 3000 px: median %.1f ms over %d runs\n",
                    typicalMs, runs);
    }

    if (saveDir != nullptr) {
        const QString dir = QString::fromLocal8Bit(saveDir);
        RenderPreview(*sheet, 1180, 840).Image().save(dir + QStringLiteral("/preview.png"));
        RenderExport(*sheet, 4500, PixelFormat::Pargb32)
            .Image()
            .save(dir + QStringLiteral("/export_4500.png"));
    }
    return 0;
}
