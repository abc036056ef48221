#include "render/jpeg_decoder.h"

#include <turbojpeg.h>

#include <array>
#include <memory>

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

}  // namespace

std::optional<QSize> ReadSize(ByteView bytes) {
    Handle handle = NewDecompressor();
    if (!handle || bytes.empty()) {
        return std::nullopt;
    }
    int width = 0;
    int height = 0;
    int subsampling = 0;
    int colorspace = 0;
    if (tjDecompressHeader3(handle.get(), bytes.data(), bytes.size(), &width, &height, &subsampling,
                            &colorspace) != 0 ||
        width <= 0 || height <= 0) {
        return std::nullopt;
    }
    return QSize(width, height);
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
    const QSize size = ReducedSize(stored, atLeast);
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull()) {
        return Status::OutOfMemory;
    }
    // BGRX in memory is Qt's RGB32 on a little-endian machine; libjpeg-turbo sets X to 0xff.
    if (tjDecompress2(handle.get(), bytes.data(), bytes.size(), image.bits(), size.width(),
                      static_cast<int>(image.bytesPerLine()), size.height(), TJPF_BGRX,
                      kStrictFlags) != 0) {
        return Status::DecodeFailed;
    }
    *out = std::move(image);
    return Status::Ok;
}

}  // namespace mirvane::imaging::jpeg
