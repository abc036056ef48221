#include "render/png_decoder.h"

#include <spng.h>

#include <cstdint>
#include <limits>
#include <memory>

namespace mirvane::imaging::png {
namespace {

struct ContextDeleter {
    void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};
using Context = std::unique_ptr<spng_ctx, ContextDeleter>;

// PNG's own largest side.
constexpr std::uint32_t kLargestSide = std::numeric_limits<std::int32_t>::max();

// The colour types with an alpha channel (4 and 6) have this bit set.
constexpr std::uint8_t kAlphaColourBit = 4;

// A decoder over `bytes` with every limit set before it reads a single chunk. The number of
// kept chunks is fixed by libspng itself at 1000. Checksums keep libspng's defaults: a bad
// critical chunk fails the file, a bad ancillary one is skipped.
Context NewDecoder(ByteView bytes, std::uint32_t maxWidth, std::uint32_t maxHeight) {
    Context context(spng_ctx_new(0));
    if (!context || spng_set_image_limits(context.get(), maxWidth, maxHeight) != 0 ||
        spng_set_chunk_limits(context.get(), kMaxAncillaryChunkBytes, kMaxAncillaryBytes) != 0 ||
        spng_set_png_buffer(context.get(), bytes.data(), bytes.size()) != 0) {
        return nullptr;
    }
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
    // Fuzz builds only: a mutated file hardly ever keeps its checksums right.
    spng_set_crc_action(context.get(), SPNG_CRC_USE, SPNG_CRC_USE);
#endif
    return context;
}

}  // namespace

std::optional<QSize> ReadSize(ByteView bytes) {
    Context context = NewDecoder(bytes, kLargestSide, kLargestSide);
    spng_ihdr header{};
    if (!context || spng_get_ihdr(context.get(), &header) != 0) {
        return std::nullopt;
    }
    return QSize(static_cast<int>(header.width), static_cast<int>(header.height));
}

Status Decode(ByteView bytes, QSize stored, QImage* out) {
    if (stored.isEmpty()) {
        return Status::InvalidParameter;
    }
    Context context = NewDecoder(bytes, static_cast<std::uint32_t>(stored.width()),
                                 static_cast<std::uint32_t>(stored.height()));
    if (!context) {
        return Status::OutOfMemory;
    }
    spng_ihdr header{};
    std::size_t size = 0;
    if (spng_get_ihdr(context.get(), &header) != 0 ||
        QSize(static_cast<int>(header.width), static_cast<int>(header.height)) != stored ||
        spng_decoded_image_size(context.get(), SPNG_FMT_RGBA8, &size) != 0) {
        return Status::DecodeFailed;
    }
    spng_trns transparency{};
    const bool alpha = (header.color_type & kAlphaColourBit) != 0 ||
                       spng_get_trns(context.get(), &transparency) == 0;
    // RGBA bytes are Qt's RGBA8888; without alpha every fourth byte is 255, which is RGBX8888.
    // Either turns into the layer's 32-bit formats in place, so the picture exists only once.
    QImage image(stored, alpha ? QImage::Format_RGBA8888 : QImage::Format_RGBX8888);
    if (image.isNull()) {
        return Status::OutOfMemory;
    }
    if (static_cast<std::size_t>(image.sizeInBytes()) != size ||
        spng_decode_image(context.get(), image.bits(), size, SPNG_FMT_RGBA8, SPNG_DECODE_TRNS) !=
            0) {
        return Status::DecodeFailed;
    }
    image.convertTo(alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (image.isNull()) {
        return Status::OutOfMemory;
    }
    *out = std::move(image);
    return Status::Ok;
}

}  // namespace mirvane::imaging::png
