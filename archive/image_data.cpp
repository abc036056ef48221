#include "archive/image_data.h"

#include <optional>

#include "archive/photo_limits.h"
#include "render/jpeg_decoder.h"

namespace mirvane {
namespace {

bool SwapsSides(imaging::RotateFlipType type) {
    return type == imaging::RotateFlipType::Rotate90FlipNone ||
           type == imaging::RotateFlipType::Rotate270FlipNone ||
           type == imaging::RotateFlipType::Rotate90FlipX ||
           type == imaging::RotateFlipType::Rotate270FlipX;
}

// What a decode will do, settled from the header before any pixel memory exists.
struct DecodePlan {
    imaging::ImageHeader header;
    imaging::RotateFlipType turn = imaging::RotateFlipType::RotateNoneFlipNone;
    QSize upright;
    QSize atLeast;  // stored orientation; empty for the full size
};

std::optional<DecodePlan> PlanDecode(imaging::ByteView bytes, const SizeNeeded& needed) {
    if (bytes.empty() || bytes.size() > kMaxPhotoBytes) {
        return std::nullopt;
    }
    const std::optional<imaging::ImageHeader> header = imaging::ReadImageHeader(bytes);
    if (!header || !WithinPixelCaps(header->width, header->height) ||
        !IsDecodableFormat(header->format)) {
        return std::nullopt;
    }
    DecodePlan plan;
    plan.header = *header;
    plan.turn = imaging::RotateFlipForOrientation(header->orientation);
    const bool swap = SwapsSides(plan.turn);
    plan.upright =
        swap ? QSize(header->height, header->width) : QSize(header->width, header->height);
    if (needed) {
        plan.atLeast = needed(plan.upright);
        if (swap) {
            plan.atLeast.transpose();
        }
    }
    return plan;
}

}  // namespace

bool IsDecodableFormat(imaging::RawFormat format) {
    return format == imaging::RawFormat::Jpeg || format == imaging::RawFormat::Png ||
           format == imaging::RawFormat::Bmp;
}

std::uint64_t DecodedPixelBytes(imaging::ByteView bytes, const SizeNeeded& needed) {
    const std::optional<DecodePlan> plan = PlanDecode(bytes, needed);
    if (!plan) {
        return 0;
    }
    const QSize stored(plan->header.width, plan->header.height);
    const QSize decoded = plan->header.format == imaging::RawFormat::Jpeg
                              ? imaging::jpeg::ReducedSize(stored, plan->atLeast)
                              : stored;
    return std::uint64_t{4} * static_cast<std::uint64_t>(decoded.width()) *
           static_cast<std::uint64_t>(decoded.height());
}

std::shared_ptr<ImageData> DecodePixels(imaging::ByteView bytes, const SizeNeeded& needed) {
    const std::optional<DecodePlan> plan = PlanDecode(bytes, needed);
    if (!plan) {
        return nullptr;
    }
    auto data = std::make_shared<ImageData>();
    if (imaging::DecodeBitmap(bytes, plan->header, plan->atLeast, &data->bitmap) !=
        imaging::Status::Ok) {
        return nullptr;
    }
    // Only a failed decode fails the whole: should the turn fail, the photograph is used as
    // it is stored.
    const bool turned = imaging::RotateFlip(data->bitmap, plan->turn) == imaging::Status::Ok;
    const QSize size = turned ? plan->upright : QSize(plan->header.width, plan->header.height);
    data->width = size.width();
    data->height = size.height();
    return data;
}

std::shared_ptr<ImageData> DecodeImage(Bytes bytes, const SizeNeeded& needed) {
    std::shared_ptr<ImageData> data = DecodePixels(bytes, needed);
    if (data) {
        data->bytes = std::move(bytes);
    }
    return data;
}

}  // namespace mirvane
