#include "pairs/pair_import.h"

#include <algorithm>

#include "localization/status_line.h"
#include "pairs/pair_header.h"
#include "platform/file_reading.h"
#include "sheet/compose.h"
#include "sheet/current_sheet.h"
#include "sheet/export_gate.h"
#include "sheet/parallel_frames.h"

namespace mirvane {
namespace {

// One photograph's bytes cut out of its pair file, in a buffer of their own.
Bytes CopyOf(Bytes::const_iterator first, Bytes::const_iterator last) {
    Bytes bytes = platform::LargeBytes(static_cast<std::size_t>(last - first));
    std::copy(first, last, bytes.begin());
    return bytes;
}

}  // namespace

std::optional<Sheet> ImportPairFiles(std::span<const QString> paths,
                                     const FilesystemTypeQuery& filesystemType) {
    if (paths.empty() || paths.size() > kMaxPairFilesPerImport) {
        return std::nullopt;
    }
    Sheet sheet{UiText(TextId::SavedMomentsTitle), {}, false};
    std::vector<PendingFrame> pending;
    std::uint64_t totalBytes = 0;
    // Every file passes its path, read, header and budget rules before the first decode;
    // each file's buffer lives only until its two photographs are copied out.
    for (const QString& path : paths) {
        if (!IsLocalFilePath(path, filesystemType) ||
            !HasPairExtension(std::u16string_view(reinterpret_cast<const char16_t*>(path.utf16()),
                                                  std::size_t(path.size())))) {
            return std::nullopt;
        }
        const Bytes file = platform::ReadWholeFile(path, kMaxPairFileBytes);
        const std::optional<PairFileHeader> header = ParsePairHeader(file);
        if (!header) {
            return std::nullopt;
        }
        totalBytes += std::uint64_t{header->firstSize} + header->secondSize;
        if (totalBytes > kMaxSheetPhotoBytes) {
            return std::nullopt;
        }
        const auto first = file.begin() + kPairHeaderSize;
        const auto second = first + header->firstSize;
        pending.push_back(PendingFrame{CopyOf(first, second), std::int32_t(header->firstYear)});
        pending.push_back(
            PendingFrame{CopyOf(second, file.end()), std::int32_t(header->secondYear)});
    }
    std::optional<std::vector<Frame>> frames = PrepareFrames(std::move(pending));
    if (!frames) {
        return std::nullopt;
    }
    sheet.frames = std::move(*frames);
    SortFramesByYear(sheet.frames);
    return sheet;
}

bool OpenPairFiles(std::span<const QString> paths) {
    if (exportBusy) {
        return false;
    }
    std::optional<Sheet> sheet = ImportPairFiles(paths);
    if (!sheet) {
        SetStatus(TextId::PairOpenFailedStatus, true);
        return false;
    }
    ReplaceCurrentSheet(std::move(*sheet));
    SetStatus(TextId::ReadyStatus, false);
    return true;
}

}  // namespace mirvane
