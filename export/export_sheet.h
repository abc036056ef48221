// Renders a snapshot of a sheet at export size, encodes it as PNG and writes it crash-safely.
#pragma once

#include <cstddef>
#include <filesystem>

#include "localization/ui_language.h"
#include "platform/files.h"
#include "render/imaging.h"
#include "sheet/sheet.h"

namespace mirvane {

// The rows of the sheet an export draws, filters, compresses and writes at a time: the band's
// pixels, 32 bits each, are all of the sheet that exists at once.
inline constexpr int kExportBandRows = 512;

// The whole sheet drawn at full resolution into one new 32-bit bitmap of the geometry's size for
// (exportWidth, columns, number of frames), with the same pixels as an export's bands. False
// when the bitmap cannot be made or a photograph fails to decode or draw. Throws
// std::invalid_argument("Invalid sheet geometry") for a width other than 3000 or 4500, columns
// other than 2 or 3, or other than 2-6 frames.
bool RenderSheetForExport(const Sheet& sheet, int columns, int exportWidth, UiLanguage language,
                          imaging::Bitmap* out);

// Draws the sheet band by band, encoding each band as PNG and writing it as it goes to an
// AtomicFileWriter for `target`. True only when `target` then holds the whole PNG. Any failure
// (a photograph that does not decode, a PNG that would pass `maxPngBytes`, a failed write)
// leaves no file. Throws as RenderSheetForExport does, before any file is made, and
// std::bad_alloc when memory runs out; the caller counts either as a failed export. Export
// worker thread; reads only the frames' years and bytes, which the UI thread never changes.
bool ExportSheetToPng(const Sheet& sheet, int columns, int exportWidth, UiLanguage language,
                      const std::filesystem::path& target);
bool ExportSheetToPng(const Sheet& sheet, int columns, int exportWidth, UiLanguage language,
                      const std::filesystem::path& target, std::size_t maxPngBytes,
                      platform::FileOperations& files);

}  // namespace mirvane
