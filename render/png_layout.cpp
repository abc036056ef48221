#include "render/png_layout.h"

#include <cstdint>

namespace mirvane::imaging {
namespace {

constexpr std::size_t kSignatureSize = 8;
constexpr std::size_t kChunkOverhead = 12;  // length, type and checksum

std::uint64_t BigEndian32(ByteView b, std::size_t at) {
    return std::uint64_t{b[at]} << 24 | std::uint64_t{b[at + 1]} << 16 |
           std::uint64_t{b[at + 2]} << 8 | b[at + 3];
}

}  // namespace

bool PngChunksFitInFile(ByteView bytes) {
    std::size_t at = kSignatureSize;
    while (at + kChunkOverhead <= bytes.size()) {
        const std::uint64_t length = BigEndian32(bytes, at);
        if (length > bytes.size() - at - kChunkOverhead) {
            return false;
        }
        const bool end = bytes[at + 4] == 'I' && bytes[at + 5] == 'E' && bytes[at + 6] == 'N' &&
                         bytes[at + 7] == 'D';
        if (end) {
            return true;
        }
        at += kChunkOverhead + static_cast<std::size_t>(length);
    }
    return false;
}

}  // namespace mirvane::imaging
