// libFuzzer target: the whole pair import. An input is one to four pair files (see pair_list.h);
// each is written to a file of its own and the list goes through OpenPairFiles, the drop entry
// point: the file count, path rules, reading, header rules, the sheet's byte budget, both
// decodes of every photograph, the year order and the all-or-nothing replacement of the current
// sheet. Every input must be refused or imported cleanly, within the caps.
#include <unistd.h>

#include <QString>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "archive/frame_preparation.h"
#include "localization/status_line.h"
#include "pair_list.h"
#include "pairs/pair_header.h"
#include "pairs/pair_import.h"
#include "sheet/compose.h"
#include "sheet/current_sheet.h"

namespace {

using mirvane::Bytes;

// One more than the import takes, so that the count rule is reached too.
constexpr std::size_t kMostFiles = mirvane::kMaxPairFilesPerImport + 1;

std::vector<std::span<const std::uint8_t>> SplitFiles(std::span<const std::uint8_t> input) {
    const std::string_view all(reinterpret_cast<const char*>(input.data()), input.size());
    const std::string_view separator = mirvane::fuzz::kPairFileSeparator;
    std::vector<std::span<const std::uint8_t>> files;
    std::size_t start = 0;
    while (files.size() + 1 < kMostFiles) {
        const std::size_t end = all.find(separator, start);
        if (end == std::string_view::npos) {
            break;
        }
        files.push_back(input.subspan(start, end - start));
        start = end + separator.size();
    }
    files.push_back(input.subspan(start));
    return files;
}

QString FuzzFilePath(std::size_t index) {
    return QStringLiteral("/tmp/mirvane-fuzz-%1-%2.qmp")
        .arg(static_cast<qint64>(::getpid()))
        .arg(index);
}

// The input's files on disk, for as long as one input runs.
class FuzzFiles {
  public:
    FuzzFiles() = default;
    FuzzFiles(const FuzzFiles&) = delete;
    FuzzFiles& operator=(const FuzzFiles&) = delete;
    ~FuzzFiles() {
        for (const QString& path : paths) {
            std::remove(path.toLocal8Bit().constData());
        }
    }
    std::vector<QString> paths;
};

bool WriteFile(const QString& path, std::span<const std::uint8_t> bytes) {
    std::FILE* file = std::fopen(path.toLocal8Bit().constData(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

// A sheet that no import can produce, to tell whether the current sheet was replaced.
const mirvane::Sheet& Sentinel() {
    static const mirvane::Sheet sheet{
        QStringLiteral("sentinel"),
        {mirvane::Frame{1799, std::make_shared<const Bytes>(), nullptr}},
        true};
    return sheet;
}

bool IsSentinel(const mirvane::Sheet& sheet) {
    return sheet.title == Sentinel().title && sheet.frames.size() == 1 &&
           sheet.frames[0].encodedBytes == Sentinel().frames[0].encodedBytes;
}

// What a successful import must have made of `files`.
bool IsImportOf(const mirvane::Sheet& sheet,
                const std::vector<std::span<const std::uint8_t>>& files) {
    if (files.size() > mirvane::kMaxPairFilesPerImport || sheet.fromArchive ||
        sheet.frames.size() != 2 * files.size()) {
        return false;
    }
    std::uint64_t photoBytes = 0;
    for (const auto& file : files) {
        const auto header = mirvane::ParsePairHeader(file);
        if (!header) {
            return false;
        }
        photoBytes += std::uint64_t{header->firstSize} + header->secondSize;
    }
    std::uint64_t framedBytes = 0;
    for (std::size_t i = 0; i < sheet.frames.size(); ++i) {
        const mirvane::Frame& frame = sheet.frames[i];
        if ((i > 0 && sheet.frames[i - 1].year > frame.year) || !frame.preview ||
            frame.preview->IsNull() ||
            std::max(frame.preview->Width(), frame.preview->Height()) > mirvane::kPreviewLongSide) {
            return false;
        }
        framedBytes += frame.encodedBytes->size();
    }
    return photoBytes == framedBytes && photoBytes <= mirvane::kMaxSheetPhotoBytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::span<const std::uint8_t>> files = SplitFiles(std::span(data, size));
    FuzzFiles written;
    for (std::size_t i = 0; i < files.size(); ++i) {
        (void)mirvane::ParsePairHeader(files[i]);
        written.paths.push_back(FuzzFilePath(i));
        if (!WriteFile(written.paths.back(), files[i])) {
            return 0;
        }
    }

    mirvane::ReplaceCurrentSheet(Sentinel());
    const bool replaced = mirvane::OpenPairFiles(written.paths);
    // All or nothing: a refused import leaves the sheet as it was and says so.
    if (replaced != !IsSentinel(mirvane::currentSheet) || replaced == mirvane::statusIsError ||
        (replaced && !IsImportOf(mirvane::currentSheet, files))) {
        __builtin_trap();
    }
    return 0;
}
