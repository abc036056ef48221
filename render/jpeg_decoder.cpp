#include "render/jpeg_decoder.h"

#include <turbojpeg.h>

#include <array>
#include <cstdint>
#include <memory>

#include "platform/memory_advice.h"
#include "render/jpeg_segments.h"

namespace mirvane::imaging::jpeg {
namespace {

struct HandleDeleter {
    void operator()(void* handle) const { tjDestroy(handle); }
};
using Handle = std::unique_ptr<void, HandleDeleter>;

Handle NewDecompressor() {
    return Handle(tjInitDecompress());
}

static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN,
              "TJPF_BGRX matches Format_RGB32 only on little-endian");

// Stops at the first warning (a truncated stream only warns by default) and refuses
// progressive files with an absurd number of scans, which would otherwise take minutes.
constexpr int kStrictFlags = TJFLAG_STOPONWARNING | TJFLAG_LIMITSCANS;

int Scaled(int side, int denominator) {
    return (side + denominator - 1) / denominator;
}

// Photoshop, and every program since that writes an Adobe marker, stores CMYK inverted: 255 is
// no ink. Without the marker the values are plain ink amounts.
bool StoresInvertedCmyk(ByteView bytes) {
    static constexpr std::uint8_t kAdobe[] = {'A', 'd', 'o', 'b', 'e'};
    return FindSegment(bytes, 0xee, kAdobe).has_value();
}

// Turns the CMYK pixels libjpeg-turbo wrote into `image` into RGB32 in place: each channel is
// what is left of the paper's white under its ink and the black.
void CmykToRgb32(QImage& image, bool inverted) {
    const auto product = [](unsigned a, unsigned b) { return (a * b + 127) / 255; };
    for (int y = 0; y < image.height(); ++y) {
        std::uint8_t* p = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x, p += 4) {
            unsigned c = p[0], m = p[1], yellow = p[2], k = p[3];
            if (!inverted) {
                c = 255 - c;
                m = 255 - m;
                yellow = 255 - yellow;
                k = 255 - k;
            }
            p[0] = static_cast<std::uint8_t>(product(yellow, k));  // BGRX, as Format_RGB32
            p[1] = static_cast<std::uint8_t>(product(m, k));
            p[2] = static_cast<std::uint8_t>(product(c, k));
            p[3] = 0xff;
        }
    }
}

struct FrameHeader {
    QSize size;
    int colorspace = TJCS_RGB;
};

std::optional<FrameHeader> ReadFrameHeader(tjhandle handle, ByteView bytes) {
    int width = 0;
    int height = 0;
    int subsampling = 0;
    int colorspace = 0;
    if (bytes.empty() ||
        tjDecompressHeader3(handle, bytes.data(), bytes.size(), &width, &height, &subsampling,
                            &colorspace) != 0 ||
        width <= 0 || height <= 0) {
        return std::nullopt;
    }
    return FrameHeader{QSize(width, height), colorspace};
}

}  // namespace

std::optional<QSize> ReadSize(ByteView bytes) {
    Handle handle = NewDecompressor();
    if (!handle) {
        return std::nullopt;
    }
    const std::optional<FrameHeader> header = ReadFrameHeader(handle.get(), bytes);
    return header ? std::optional(header->size) : std::nullopt;
}

QSize ReducedSize(QSize stored, QSize atLeast) {
    if (atLeast.isEmpty()) {
        return stored;
    }
    for (int denominator : std::array{8, 4, 2}) {
        const QSize reduced(Scaled(stored.width(), denominator),
                            Scaled(stored.height(), denominator));
        if (reduced.width() >= atLeast.width() && reduced.height() >= atLeast.height()) {
            return reduced;
        }
    }
    return stored;
}

Status Decode(ByteView bytes, QSize stored, QSize atLeast, QImage* out) {
    Handle handle = NewDecompressor();
    if (!handle) {
        return Status::OutOfMemory;
    }
    const std::optional<FrameHeader> header = ReadFrameHeader(handle.get(), bytes);
    if (!header || header->size != stored) {
        return Status::DecodeFailed;
    }
    const bool cmyk = header->colorspace == TJCS_CMYK || header->colorspace == TJCS_YCCK;
    const QSize size = ReducedSize(stored, atLeast);
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull()) {
        return Status::OutOfMemory;
    }
    platform::PreferHugePages(image.bits(), static_cast<std::size_t>(image.sizeInBytes()));
    // BGRX in memory is Qt's RGB32 on a little-endian machine; libjpeg-turbo sets X to 0xff.
    // libjpeg-turbo converts CMYK to no other layout: it comes as four bytes a pixel too, in the
    // same rows, and is turned into RGB in place.
    if (tjDecompress2(handle.get(), bytes.data(), bytes.size(), image.bits(), size.width(),
                      static_cast<int>(image.bytesPerLine()), size.height(),
                      cmyk ? TJPF_CMYK : TJPF_BGRX, kStrictFlags) != 0) {
        return Status::DecodeFailed;
    }
    if (cmyk) {
        CmykToRgb32(image, StoresInvertedCmyk(bytes));
    }
    *out = std::move(image);
    return Status::Ok;
}

}  // namespace mirvane::imaging::jpeg
