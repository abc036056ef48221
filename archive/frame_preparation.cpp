#include "archive/frame_preparation.h"

#include <algorithm>

#include "archive/image_data.h"

namespace mirvane {
namespace {

int ScaledSide(int side, float k) {
    return std::max(1, static_cast<int>(static_cast<float>(side) * k));
}

bool IsFrameYear(std::int32_t year) {
    return static_cast<std::uint32_t>(year) - static_cast<std::uint32_t>(kFirstFrameYear) <=
           static_cast<std::uint32_t>(kLastFrameYear - kFirstFrameYear);
}

}  // namespace

QSize PreviewSize(QSize upright) {
    const float longer = static_cast<float>(std::max(upright.width(), upright.height()));
    const float k = std::min(static_cast<float>(kPreviewLongSide) / longer, 1.0f);
    return QSize(ScaledSide(upright.width(), k), ScaledSide(upright.height(), k));
}

std::optional<Frame> PrepareFrame(Bytes bytes, std::int32_t year) {
    if (!IsFrameYear(year)) {
        return std::nullopt;
    }
    std::shared_ptr<ImageData> data = DecodeImage(std::move(bytes), PreviewSize);
    if (!data) {
        return std::nullopt;
    }
    imaging::Bitmap preview;
    if (imaging::ResampleHighQuality(data->bitmap, PreviewSize(QSize(data->width, data->height)),
                                     imaging::PixelFormat::Pargb32,
                                     &preview) != imaging::Status::Ok) {
        return std::nullopt;
    }
    Frame frame;
    frame.year = year;
    frame.encodedBytes = std::make_shared<const Bytes>(std::move(data->bytes));
    frame.preview = std::make_shared<const imaging::Bitmap>(std::move(preview));
    return frame;
}

}  // namespace mirvane
