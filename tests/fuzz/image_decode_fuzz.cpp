// libFuzzer target: any bytes as a photograph, through DecodeImage and PrepareFrame, every
// decoder included. Every input must be refused or decoded cleanly, within the caps.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "archive/frame_preparation.h"
#include "archive/image_data.h"
#include "archive/photo_limits.h"

namespace {

bool WithinCaps(int width, int height) {
    return width > 0 && height > 0 && width <= mirvane::kMaxPhotoSide &&
           height <= mirvane::kMaxPhotoSide &&
           std::int64_t{width} * height <= mirvane::kMaxPhotoPixels;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const mirvane::Bytes bytes(data, data + size);

    QSize upright;
    if (const auto decoded = mirvane::DecodeImage(bytes)) {
        upright = QSize(decoded->width, decoded->height);
        if (decoded->bytes != bytes || !WithinCaps(decoded->width, decoded->height) ||
            decoded->bitmap.Size() != upright) {
            __builtin_trap();
        }
    }

    // The frame decodes the same bytes again, a JPEG at a reduced scale.
    if (const auto frame = mirvane::PrepareFrame(bytes, 2000)) {
        const QSize preview = frame->preview->Size();
        if (frame->year != 2000 || *frame->encodedBytes != bytes || preview.isEmpty() ||
            std::max(preview.width(), preview.height()) > mirvane::kPreviewLongSide ||
            (upright.isValid() && preview != mirvane::PreviewSize(upright)) ||
            frame->preview->Image().format() != QImage::Format_ARGB32_Premultiplied) {
            __builtin_trap();
        }
    }
    return 0;
}
