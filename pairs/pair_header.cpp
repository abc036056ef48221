#include "pairs/pair_header.h"

#include "archive/frame_preparation.h"
#include "archive/photo_limits.h"

namespace mirvane {
namespace {

std::uint32_t ReadU32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return std::uint32_t{bytes[at]} | std::uint32_t{bytes[at + 1]} << 8 |
           std::uint32_t{bytes[at + 2]} << 16 | std::uint32_t{bytes[at + 3]} << 24;
}

bool IsPairYear(std::uint32_t year) {
    return year >= static_cast<std::uint32_t>(kFirstFrameYear) &&
           year <= static_cast<std::uint32_t>(kLastFrameYear);
}

}  // namespace

std::optional<PairFileHeader> ParsePairHeader(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kPairHeaderSize) {
        return std::nullopt;
    }
    const PairFileHeader header{ReadU32(bytes, 0),  ReadU32(bytes, 4),  ReadU32(bytes, 8),
                                ReadU32(bytes, 12), ReadU32(bytes, 16), ReadU32(bytes, 20)};
    const bool valid = header.magic == kPairMagic && header.version == kPairVersion &&
                       IsPairYear(header.firstYear) && IsPairYear(header.secondYear) &&
                       header.secondYear != header.firstYear && header.firstSize != 0 &&
                       header.secondSize != 0 && header.firstSize <= kMaxPhotoBytes &&
                       header.secondSize <= kMaxPhotoBytes &&
                       std::uint64_t{bytes.size()} ==
                           kPairHeaderSize + std::uint64_t{header.firstSize} + header.secondSize;
    if (!valid) {
        return std::nullopt;
    }
    return header;
}

}  // namespace mirvane
