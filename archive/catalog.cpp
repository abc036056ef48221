#include "archive/catalog.h"

#include "archive/catalog_years.h"

namespace mirvane {
namespace {

// The digests of the photographs as the build drew them.
constexpr std::array<const char*, kArchiveRowCount> kDigests = {
#include "archive_digests.inc"
};

constexpr const char16_t* kSourceUrl =
    u"urn:mirvane:generated - drawn at build time by resources/photogen (mirvane-photogen); "
    u"rebuild the archive_photos target to reproduce the same bytes";

constexpr std::array<ArchiveEntry, kArchiveRowCount> BuildCatalog() {
    std::array<ArchiveEntry, kArchiveRowCount> rows{};
    std::size_t row = 0;
    for (const archive_years::Place& place : archive_years::kPlaces) {
        for (int year : place.years) {
            rows[row] =
                ArchiveEntry{archive_years::kFirstResourceId + static_cast<std::uint32_t>(row),
                             place.name.data(), year, kSourceUrl, kDigests[row]};
            ++row;
        }
    }
    return rows;
}

}  // namespace

constinit const std::array<ArchiveEntry, kArchiveRowCount> archiveCatalog = BuildCatalog();

constinit const std::array<const char16_t*, kArchiveLocationCount> archiveLocations = {
    archive_years::kPlaces[0].name.data(), archive_years::kPlaces[1].name.data(),
    archive_years::kPlaces[2].name.data()};

std::vector<int> ArchiveRowsOf(std::u16string_view location) {
    std::vector<int> rows;
    for (std::size_t row = 0; row < archiveCatalog.size(); ++row) {
        if (std::u16string_view(archiveCatalog[row].location) == location) {
            rows.push_back(static_cast<int>(row));
        }
    }
    return rows;
}

}  // namespace mirvane
