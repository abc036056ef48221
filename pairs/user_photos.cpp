#include "pairs/user_photos.h"

#include <QFileInfo>

#include "archive/frame_preparation.h"
#include "archive/image_data.h"
#include "archive/photo_limits.h"
#include "platform/file_reading.h"
#include "render/exif.h"

namespace mirvane {
namespace {

// Why a file gave no bytes, told only after the capped read has failed.
PhotoFault ReadFault(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile()) {
        return PhotoFault::Unreadable;
    }
    if (info.size() == 0) {
        return PhotoFault::Empty;
    }
    return std::uint64_t(info.size()) > kMaxPhotoBytes ? PhotoFault::TooLarge
                                                       : PhotoFault::Unreadable;
}

bool IsFrameYear(std::int64_t year) {
    return year >= kFirstFrameYear && year <= kLastFrameYear;
}

}  // namespace

std::optional<PhotoFault> CheckPhotoBytes(imaging::ByteView bytes) {
    if (bytes.empty()) {
        return PhotoFault::Empty;
    }
    if (bytes.size() > kMaxPhotoBytes) {
        return PhotoFault::TooLarge;
    }
    const std::optional<imaging::ImageHeader> header = imaging::ReadImageHeader(bytes);
    if (!header) {
        return PhotoFault::Undecodable;  // a JPEG, PNG or BMP whose header cannot be read
    }
    if (!IsDecodableFormat(header->format)) {
        return PhotoFault::NotAnImage;
    }
    if (!WithinPixelCaps(header->width, header->height)) {
        return PhotoFault::OverPixelCaps;
    }
    return std::nullopt;
}

std::optional<std::int64_t> PhotoYear(std::optional<std::int64_t> given, imaging::ByteView bytes) {
    if (given) {
        return given;
    }
    const std::optional<int> exif = imaging::ReadExifYear(bytes);
    return exif ? std::optional<std::int64_t>(*exif) : std::nullopt;
}

std::variant<std::vector<Frame>, PhotoRefusal> PrepareUserPhotos(
    std::span<const PhotoRequest> requests, std::uint64_t byteBudget) {
    struct Checked {
        Bytes bytes;
        std::int32_t year;
    };
    std::vector<Checked> checked;
    std::uint64_t totalBytes = 0;
    for (std::size_t i = 0; i < requests.size(); ++i) {
        const PhotoRequest& request = requests[i];
        auto refuse = [i](PhotoFault fault, std::int64_t year = 0) {
            return PhotoRefusal{i, fault, year};
        };
        Bytes bytes = platform::ReadWholeFile(request.path, kMaxPhotoBytes);
        if (bytes.empty()) {
            return refuse(ReadFault(request.path));
        }
        if (const std::optional<PhotoFault> fault = CheckPhotoBytes(bytes)) {
            return refuse(*fault);
        }
        const std::optional<std::int64_t> year = PhotoYear(request.year, bytes);
        if (!year) {
            return refuse(PhotoFault::NoYear);
        }
        if (!IsFrameYear(*year)) {
            return refuse(PhotoFault::YearOutOfRange, *year);
        }
        totalBytes += bytes.size();
        if (totalBytes > byteBudget) {
            return refuse(PhotoFault::OverSheetBudget, *year);
        }
        checked.push_back(Checked{std::move(bytes), std::int32_t(*year)});
    }
    std::vector<Frame> frames;
    for (std::size_t i = 0; i < checked.size(); ++i) {
        const std::int32_t year = checked[i].year;
        std::optional<Frame> frame = PrepareFrame(std::move(checked[i].bytes), year);
        if (!frame) {
            return PhotoRefusal{i, PhotoFault::Undecodable, year};
        }
        frames.push_back(std::move(*frame));
    }
    return frames;
}

}  // namespace mirvane
