#include "export/export_sheet.h"

#include <algorithm>
#include <cstdint>
#include <span>

#include "export/atomic_write.h"
#include "export/png_encoder.h"
#include "render/graphics.h"
#include "render/sheet_geometry.h"
#include "render/sheet_renderer.h"

namespace mirvane {
namespace {

SheetGeometry GeometryFor(const Sheet& sheet, int columns, int exportWidth) {
    // Any count beyond six is refused by the geometry; the clamp only keeps it an int32.
    const auto frameCount =
        static_cast<std::int32_t>(std::min<std::size_t>(sheet.frames.size(), 7));
    return ComputeSheetGeometry(exportWidth, columns, frameCount);
}

}  // namespace

bool RenderSheetForExport(const Sheet& sheet, int columns, int exportWidth, UiLanguage language,
                          imaging::Bitmap* out) {
    const SheetGeometry geometry = GeometryFor(sheet, columns, exportWidth);
    // The renderer paints every pixel opaque, so premultiplied pixels are the straight ones,
    // and the painter draws on them much faster than on straight alpha.
    imaging::Bitmap bitmap;
    if (imaging::CreateBitmap(geometry.width, geometry.height, imaging::PixelFormat::Pargb32,
                              &bitmap) != imaging::Status::Ok) {
        return false;
    }
    bool drawn = false;
    {
        imaging::Graphics graphics(bitmap);  // ends painting before the pixels are read
        drawn = RenderSheet(graphics, sheet, geometry, true, language);
    }
    if (!drawn) {
        return false;
    }
    *out = std::move(bitmap);
    return true;
}

bool ExportSheetToPng(const Sheet& sheet, int columns, int exportWidth, UiLanguage language,
                      const std::filesystem::path& target) {
    return ExportSheetToPng(sheet, columns, exportWidth, language, target, kMaxPngBytes,
                            platform::SystemFileOperations());
}

bool ExportSheetToPng(const Sheet& sheet, int columns, int exportWidth, UiLanguage language,
                      const std::filesystem::path& target, std::size_t maxPngBytes,
                      platform::FileOperations& files) {
    const SheetGeometry geometry = GeometryFor(sheet, columns, exportWidth);
    AtomicFileWriter file(target, files);
    imaging::Bitmap band;
    if (!file.Good() ||
        imaging::CreateBitmap(geometry.width, std::min(kExportBandRows, geometry.height),
                              imaging::PixelFormat::Pargb32, &band) != imaging::Status::Ok) {
        return false;
    }
    SheetBands bands(sheet, geometry, language);
    // Paper lies under everything the renderer draws, so the sheet is opaque: RGB.
    PngStreamEncoder png(
        geometry.width, geometry.height, true,
        [&](std::span<const std::uint8_t> bytes) { return file.Append(bytes); }, maxPngBytes);
    for (int top = 0; top < geometry.height; top += kExportBandRows) {
        const int rows = std::min(kExportBandRows, geometry.height - top);
        bool drawn = false;
        {
            imaging::Graphics graphics(band);  // ends painting before the pixels are read
            drawn = bands.Draw(graphics, top, rows);
        }
        if (!drawn || !png.AddRows(band.Image(), 0, rows)) {
            return false;
        }
    }
    return png.Finish() && file.Commit();
}

}  // namespace mirvane
