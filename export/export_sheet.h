// Renders a snapshot of a sheet at export size, encodes it as PNG and writes it crash-safely.
#pragma once

#include <cstddef>
#include <filesystem>

#include "localization/ui_language.h"
#include "platform/files.h"
#include "render/imaging.h"
#include "sheet/sheet.h"

namespace mirvane {

// The sheet drawn at full resolution into a new 32-bit bitmap of the geometry's size for
// (exportWidth, columns, number of frames). False when the bitmap cannot be made or a
// photograph fails to decode or draw. Throws std::invalid_argument("Invalid sheet geometry")
// for a width other than 3000 or 4500, columns other than 2 or 3, or other than 2-6 frames.
bool RenderSheetForExport(const Sheet& sheet, int columns, int exportWidth, UiLanguage language,
                          imaging::Bitmap* out);

// Renders, encodes and writes the sheet to `target` with WriteFileAtomically. True only when
// `target` then holds the whole PNG. A PNG larger than `maxPngBytes` fails before any file is
// made. Throws as RenderSheetForExport does, and std::bad_alloc when memory runs out; the
// caller counts either as a failed export. Export worker thread; reads only the frames' years
// and bytes, which the UI thread never changes.
bool ExportSheetToPng(const Sheet& sheet, int columns, int exportWidth, UiLanguage language,
                      const std::filesystem::path& target);
bool ExportSheetToPng(const Sheet& sheet, int columns, int exportWidth, UiLanguage language,
                      const std::filesystem::path& target, std::size_t maxPngBytes,
                      platform::FileOperations& files);

}  // namespace mirvane
