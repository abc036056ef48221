#include "pairs/pair_writer.h"

#include <QFile>

#include "export/atomic_write.h"
#include "pairs/pair_header.h"
#include "pairs/pair_paths.h"

namespace mirvane {
namespace {

void AppendU32(Bytes& bytes, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

std::filesystem::path NativePath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

}  // namespace

std::optional<Bytes> PairFileBytes(const Frame& first, const Frame& second) {
    const Bytes& a = *first.encodedBytes;
    const Bytes& b = *second.encodedBytes;
    if (a.size() > UINT32_MAX || b.size() > UINT32_MAX) {
        return std::nullopt;
    }
    Bytes file;
    file.reserve(kPairHeaderSize + a.size() + b.size());
    for (const std::uint32_t field :
         {kPairMagic, kPairVersion, std::uint32_t(first.year), std::uint32_t(second.year),
          std::uint32_t(a.size()), std::uint32_t(b.size())}) {
        AppendU32(file, field);
    }
    file.insert(file.end(), a.begin(), a.end());
    file.insert(file.end(), b.begin(), b.end());
    // The reader's own rules decide: a file they would refuse is never written.
    if (!ParsePairHeader(file)) {
        return std::nullopt;
    }
    return file;
}

std::optional<PairWriteFault> CheckPairTarget(const QString& target,
                                              platform::FileOperations& files) {
    if (!HasPairExtension(std::u16string_view(reinterpret_cast<const char16_t*>(target.utf16()),
                                              std::size_t(target.size())))) {
        return PairWriteFault::NotPairName;
    }
    if (files.QueryStatus(NativePath(target)) != platform::PathStatus::Missing) {
        return PairWriteFault::TargetTaken;
    }
    return std::nullopt;
}

std::optional<PairWriteFault> WritePairFile(const QString& target, const Frame& first,
                                            const Frame& second, platform::FileOperations& files) {
    if (first.year == second.year) {
        return PairWriteFault::EqualYears;
    }
    if (const std::optional<PairWriteFault> fault = CheckPairTarget(target, files)) {
        return fault;
    }
    const std::optional<Bytes> bytes = PairFileBytes(first, second);
    if (!bytes) {
        return PairWriteFault::ReaderRefuses;
    }
    if (!WriteFileAtomically(NativePath(target), *bytes, files)) {
        // The write itself refuses to replace a file that appeared since the check.
        return files.QueryStatus(NativePath(target)) == platform::PathStatus::Missing
                   ? PairWriteFault::WriteFailed
                   : PairWriteFault::TargetTaken;
    }
    return std::nullopt;
}

}  // namespace mirvane
