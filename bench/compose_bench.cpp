// Measures the preview of the archive's largest photograph and the composition of a sheet from
// the six largest photographs of one place.
//   bench_compose [runs]
#include <QString>
#include <cstdio>
#include <cstdlib>

#include "archive/archive_photo.h"
#include "archive/frame_preparation.h"
#include "archive_rows.h"
#include "bench_util.h"
#include "sheet/compose.h"

namespace {

using mirvane::archiveCatalog;

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 15;
    const std::vector<int> rows = mirvane::bench::LargestRowsOfOnePlace(6);
    const mirvane::ArchiveEntry& largest = archiveCatalog[rows[0]];
    const mirvane::Bytes bytes = mirvane::LoadArchivePhoto(largest);
    const auto header = mirvane::imaging::ReadImageHeader(bytes);
    std::printf("largest photograph: row %d, %zu bytes, %d x %d\n", rows[0], bytes.size(),
                header ? header->width : 0, header ? header->height : 0);

    const double baseMb = mirvane::bench::PeakResidentMb();
    const double previewMs = mirvane::bench::MedianMs(runs, [&] {
        if (!mirvane::PrepareFrame(bytes, largest.year)) {
            std::abort();
        }
    });
    std::printf(
        "PrepareFrame (768 px preview): median %.1f ms over %d runs, peak memory +%.1f MB\n",
        previewMs, runs, mirvane::bench::PeakResidentMb() - baseMb);

    const double composeMs = mirvane::bench::MedianMs(runs, [&] {
        if (!mirvane::ComposeFromArchive(rows)) {
            std::abort();
        }
    });
    std::printf("ComposeFromArchive (%s, rows",
                QString::fromUtf16(largest.location).toUtf8().constData());
    for (int row : rows) {
        std::printf(" %d", row);
    }
    std::printf("): median %.1f ms over %d runs\n", composeMs, runs);
    return 0;
}
