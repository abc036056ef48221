#include "render/bmp_layout.h"

#include <cstdint>
#include <cstdlib>
#include <limits>

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

struct BmpHeader {
    std::uint32_t pixelOffset = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;  // negative: rows stored top-down
    std::uint32_t bitsPerPixel = 0;
    std::uint32_t compression = kRgb;
};

std::optional<BmpHeader> ReadHeader(ByteView bytes) {
    if (bytes.size() < kFileHeaderSize + 4) {
        return std::nullopt;
    }
    BmpHeader header;
    header.pixelOffset = U32(bytes, 10);
    const std::uint32_t headerSize = U32(bytes, 14);
    if (headerSize == kCoreHeaderSize) {
        if (bytes.size() < kFileHeaderSize + kCoreHeaderSize) {
            return std::nullopt;
        }
        header.width = U16(bytes, 18);
        header.height = U16(bytes, 20);
        header.bitsPerPixel = U16(bytes, 24);
    } else {
        if (headerSize < kInfoHeaderSize || bytes.size() < kFileHeaderSize + kInfoHeaderSize) {
            return std::nullopt;
        }
        header.width = static_cast<std::int32_t>(U32(bytes, 18));
        header.height = static_cast<std::int32_t>(U32(bytes, 22));
        header.bitsPerPixel = U16(bytes, 28);
        header.compression = U32(bytes, 30);
    }
    return header;
}

}  // namespace

std::optional<QSize> BmpStoredSize(ByteView bytes) {
    const std::optional<BmpHeader> header = ReadHeader(bytes);
    constexpr std::int64_t kLargest = std::numeric_limits<int>::max();
    if (!header || header->width <= 0 || header->height == 0 || header->width > kLargest ||
        std::llabs(header->height) > kLargest) {
        return std::nullopt;
    }
    return QSize(static_cast<int>(header->width), static_cast<int>(std::llabs(header->height)));
}

bool BmpPixelDataIsComplete(ByteView bytes) {
    const std::optional<BmpHeader> header = ReadHeader(bytes);
    if (!header) {
        return false;
    }
    if (header->compression != kRgb && header->compression != kBitfields &&
        header->compression != kAlphaBitfields) {
        return true;
    }
    const std::int64_t stride = (std::llabs(header->width) * header->bitsPerPixel + 31) / 32 * 4;
    const std::int64_t needed =
        std::int64_t{header->pixelOffset} + stride * std::llabs(header->height);
    return needed <= static_cast<std::int64_t>(bytes.size());
}

}  // namespace mirvane::imaging
