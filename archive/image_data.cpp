#include "archive/image_data.h"

#include "archive/photo_limits.h"

namespace mirvane {
namespace {

bool SwapsSides(imaging::RotateFlipType type) {
    return type == imaging::RotateFlipType::Rotate90FlipNone ||
           type == imaging::RotateFlipType::Rotate270FlipNone ||
           type == imaging::RotateFlipType::Rotate90FlipX ||
           type == imaging::RotateFlipType::Rotate270FlipX;
}

}  // namespace

bool IsDecodableFormat(imaging::RawFormat format) {
    return format == imaging::RawFormat::Jpeg || format == imaging::RawFormat::Png ||
           format == imaging::RawFormat::Bmp;
}

std::shared_ptr<ImageData> DecodeImage(Bytes bytes, const SizeNeeded& needed) {
    if (bytes.empty() || bytes.size() > kMaxPhotoBytes) {
        return nullptr;
    }
    auto data = std::make_shared<ImageData>();
    data->bytes = std::move(bytes);

    const std::optional<imaging::ImageHeader> header = imaging::ReadImageHeader(data->bytes);
    if (!header || !WithinPixelCaps(header->width, header->height) ||
        !IsDecodableFormat(header->format)) {
        return nullptr;
    }

    const imaging::RotateFlipType turn = imaging::RotateFlipForOrientation(header->orientation);
    const bool swap = SwapsSides(turn);
    const QSize upright =
        swap ? QSize(header->height, header->width) : QSize(header->width, header->height);
    QSize atLeast;
    if (needed) {
        atLeast = needed(upright);
        if (swap) {
            atLeast.transpose();
        }
    }
    if (imaging::DecodeBitmap(data->bytes, *header, atLeast, &data->bitmap) !=
        imaging::Status::Ok) {
        return nullptr;
    }
    // Only a failed decode fails the whole: should the turn fail, the photograph is used as
    // it is stored.
    const bool turned = imaging::RotateFlip(data->bitmap, turn) == imaging::Status::Ok;
    const QSize size = turned ? upright : QSize(header->width, header->height);
    data->width = size.width();
    data->height = size.height();
    return data;
}

}  // namespace mirvane
