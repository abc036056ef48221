// The user's own photographs, read from files for a pair file or a sheet: each one read, checked
// by the rules every photograph of a sheet meets and decoded by the program's own decoder, and
// when one fails, which one and by which rule.
#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <variant>
#include <vector>

#include "render/imaging.h"
#include "sheet/frame.h"

namespace mirvane {

enum class PhotoFault {
    Unreadable,      // missing, not a regular file, or not read whole
    Empty,           // no bytes at all
    TooLarge,        // more than 40 MiB
    NotAnImage,      // not JPEG, PNG or BMP
    OverPixelCaps,   // more than 24,000 pixels a side or 80,000,000 in all
    Undecodable,     // claims a format the decoder takes, but the decoder refuses it
    NoYear,          // no year given and no EXIF date
    YearOutOfRange,  // outside 1800-2200
    OverSheetBudget  // with the photographs before it, more bytes than one sheet may hold
};

// A photograph as the user names it: its file, and its year unless its EXIF date is to give it.
struct PhotoRequest {
    QString path;
    std::optional<std::int64_t> year;
};

struct PhotoRefusal {
    std::size_t index;  // of the request refused
    PhotoFault fault;
    std::int64_t year;  // the year given or found; 0 when there is none
};

// The rules for a photograph's bytes that need no decode: not empty, at most 40 MiB, a format
// the decoder takes, within the pixel caps by its header. Nothing when all hold.
std::optional<PhotoFault> CheckPhotoBytes(imaging::ByteView bytes);

// The photograph's year: the year given, else the year of its EXIF date (DateTimeOriginal, else
// DateTime); nothing when neither exists.
std::optional<std::int64_t> PhotoYear(std::optional<std::int64_t> given, imaging::ByteView bytes);

// One frame per request, in the order given, or the first refusal. Every file is read and
// checked, and its bytes counted against `byteBudget`, before the first decode, as the pair
// import does.
std::variant<std::vector<Frame>, PhotoRefusal> PrepareUserPhotos(
    std::span<const PhotoRequest> requests, std::uint64_t byteBudget);

}  // namespace mirvane
