#include "sheet/compose.h"

#include "archive/frame_preparation.h"
#include "sheet/parallel_frames.h"

namespace mirvane {

std::optional<Sheet> ComposeFromArchive(std::span<const int> selection,
                                        const ResourceLookup& lookup) {
    if (selection.size() < kMinSheetFrames || selection.size() > kMaxSheetFrames) {
        return std::nullopt;
    }
    Sheet sheet;
    std::vector<PendingFrame> pending;
    std::uint64_t totalBytes = 0;
    // Every cheap rule is settled, row by row in selection order, before the first decode.
    for (int index : selection) {
        if (static_cast<std::uint32_t>(index) >= archiveCatalog.size()) {
            return std::nullopt;
        }
        const ArchiveEntry& row = archiveCatalog[static_cast<std::size_t>(index)];
        const QString location = QString::fromUtf16(row.location);
        if (sheet.title.isEmpty()) {
            sheet.title = location;
        }
        if (location != sheet.title) {
            return std::nullopt;
        }
        Bytes bytes = LoadArchivePhoto(row, lookup);
        totalBytes += bytes.size();
        if (totalBytes > kMaxSheetPhotoBytes) {
            return std::nullopt;
        }
        pending.push_back(PendingFrame{std::move(bytes), row.year});
    }
    std::optional<std::vector<Frame>> frames = PrepareFrames(std::move(pending));
    if (!frames) {
        return std::nullopt;
    }
    sheet.frames = std::move(*frames);
    SortFramesByYear(sheet.frames);
    sheet.fromArchive = true;
    return sheet;
}

}  // namespace mirvane
