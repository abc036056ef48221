// Which archive photographs the benchmarks measure.
#pragma once

#include <algorithm>
#include <vector>

#include "archive/catalog.h"
#include "platform/embedded_resources.h"

namespace mirvane::bench {

// The rows of the place holding the largest photograph, largest first: the heaviest sheet.
inline std::vector<int> LargestRowsOfOnePlace(std::size_t count) {
    std::vector<int> rows(archiveCatalog.size());
    std::vector<std::size_t> sizes(archiveCatalog.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i] = static_cast<int>(i);
        const auto resource = platform::FindEmbeddedResource(
            static_cast<std::uint16_t>(archiveCatalog[i].resourceId));
        sizes[i] = resource ? resource->size() : 0;
    }
    std::sort(rows.begin(), rows.end(), [&](int a, int b) { return sizes[a] > sizes[b]; });
    const std::u16string_view place = archiveCatalog[std::size_t(rows[0])].location;
    std::erase_if(rows,
                  [&](int row) { return archiveCatalog[std::size_t(row)].location != place; });
    rows.resize(std::min(count, rows.size()));
    return rows;
}

}  // namespace mirvane::bench
