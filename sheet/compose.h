// Composing a sheet from rows of the built-in archive.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "archive/archive_photo.h"
#include "sheet/sheet.h"

namespace mirvane {

inline constexpr std::size_t kMinSheetFrames = 2;
inline constexpr std::size_t kMaxSheetFrames = 6;
// All photographs of one sheet together, counted before each is decoded.
inline constexpr std::uint64_t kMaxSheetPhotoBytes = 167'772'160;

// A new archive sheet of the selected catalog rows (2 to 6, one location, duplicates allowed),
// in ascending year; nothing when any row is out of range, of another location, or its
// photograph is missing, undecodable or over the sheet's byte budget. Touches no current sheet.
std::optional<Sheet> ComposeFromArchive(
    std::span<const int> selection, const ResourceLookup& lookup = platform::FindEmbeddedResource);

}  // namespace mirvane
