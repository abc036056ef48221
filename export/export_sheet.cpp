#include "export/export_sheet.h"

#include <algorithm>
#include <cstdint>

#include "export/atomic_write.h"
#include "export/png_encoder.h"
#include "render/graphics.h"
#include "render/sheet_geometry.h"
#include "render/sheet_renderer.h"

namespace mirvane {

bool RenderSheetForExport(const Sheet& sheet, int columns, int exportWidth, UiLanguage language,
                          imaging::Bitmap* out) {
    // Any count beyond six is refused by the geometry; the clamp only keeps it an int32.
    const auto frameCount =
        static_cast<std::int32_t>(std::min<std::size_t>(sheet.frames.size(), 7));
    const SheetGeometry geometry = ComputeSheetGeometry(exportWidth, columns, frameCount);
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
    imaging::Bitmap bitmap;
    if (!RenderSheetForExport(sheet, columns, exportWidth, language, &bitmap)) {
        return false;
    }
    Bytes png = EncodePng(bitmap.Image(), maxPngBytes);
    bitmap = imaging::Bitmap();  // the pixels are not needed while the file is written
    return !png.empty() && WriteFileAtomically(target, png, files);
}

}  // namespace mirvane
