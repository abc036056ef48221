// The built-in archive: 71 dated photographs of three places, embedded in the program.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace mirvane {

struct ArchiveEntry {
    std::uint32_t resourceId;  // only the low 16 bits name the embedded resource
    const char16_t* location;  // one of archiveLocations
    std::int32_t year;
    const char16_t* sourceUrl;  // provenance only, never read at run time
    const char* sha256Hex;      // provenance only, never checked at run time
};

inline constexpr std::size_t kArchiveRowCount = 71;
inline constexpr std::size_t kArchiveLocationCount = 3;

// Grouped by location in the order of archiveLocations, each location in ascending year;
// resourceId = 1000 + row index.
extern const std::array<ArchiveEntry, kArchiveRowCount> archiveCatalog;

// "Aral Sea", "Columbia Glacier", "Lake Powell": the order of the location selector.
extern const std::array<const char16_t*, kArchiveLocationCount> archiveLocations;

// The row indexes whose location equals `location` exactly (case and all), ascending.
std::vector<int> ArchiveRowsOf(std::u16string_view location);

}  // namespace mirvane
