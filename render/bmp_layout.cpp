#include "render/bmp_layout.h"

#include <cstdint>
#include <cstdlib>

namespace mirvane::imaging {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;  // the old OS/2 layout with 16-bit sides
constexpr std::uint32_t kInfoHeaderSize = 40;

// The layouts whose pixel rows are stored plainly, so their length follows from the header.
constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kBitfields = 3;
constexpr std::uint32_t kAlphaBitfields = 6;

std::uint32_t U16(ByteView b, std::size_t at) {
    return b[at] | (b[at + 1] << 8);
}
std::uint32_t U32(ByteView b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t{b[at + 3]} << 24);
}

}  // namespace

bool BmpPixelDataIsComplete(ByteView bytes) {
    if (bytes.size() < kFileHeaderSize + 4) {
        return false;
    }
    const std::uint32_t pixelOffset = U32(bytes, 10);
    const std::uint32_t headerSize = U32(bytes, 14);
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t bitsPerPixel = 0;
    std::uint32_t compression = kRgb;
    if (headerSize == kCoreHeaderSize) {
        if (bytes.size() < kFileHeaderSize + kCoreHeaderSize) {
            return false;
        }
        width = U16(bytes, 18);
        height = U16(bytes, 20);
        bitsPerPixel = U16(bytes, 24);
    } else {
        if (headerSize < kInfoHeaderSize || bytes.size() < kFileHeaderSize + kInfoHeaderSize) {
            return false;
        }
        width = static_cast<std::int32_t>(U32(bytes, 18));
        height = static_cast<std::int32_t>(U32(bytes, 22));  // negative: rows stored top-down
        bitsPerPixel = U16(bytes, 28);
        compression = U32(bytes, 30);
    }
    if (compression != kRgb && compression != kBitfields && compression != kAlphaBitfields) {
        return true;
    }
    const std::int64_t stride = (std::llabs(width) * bitsPerPixel + 31) / 32 * 4;
    const std::int64_t needed = std::int64_t{pixelOffset} + stride * std::llabs(height);
    return needed <= static_cast<std::int64_t>(bytes.size());
}

}  // namespace mirvane::imaging
