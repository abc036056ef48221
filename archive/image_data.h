// The validating decoder: JPEG, PNG or BMP bytes in, an upright picture out, or nothing.
#pragma once

#include <QSize>
#include <cstdint>
#include <functional>
#include <memory>

#include "archive/bytes.h"
#include "render/imaging.h"

namespace mirvane {

// One decoded photograph. `width` and `height` are the photograph's upright size; `bitmap` is
// upright too and of that size, unless the caller asked for less (see DecodeImage).
struct ImageData {
    Bytes bytes;  // the encoded file exactly as it was handed over
    imaging::Bitmap bitmap;
    int width = 0;
    int height = 0;
};

// Given the photograph's upright size, the smallest upright size the caller will draw from.
using SizeNeeded = std::function<QSize(QSize upright)>;

// The formats DecodeImage takes: JPEG, PNG and BMP.
bool IsDecodableFormat(imaging::RawFormat format);

// Decodes `bytes` (taken whatever the outcome). Refuses empty or oversized buffers, pictures
// beyond the side and pixel caps, formats other than JPEG, PNG and BMP, and truncated or corrupt
// data; the caps and the format are checked from the header before any pixel memory exists.
// The picture is turned upright by its EXIF orientation. With `needed`, a JPEG may be decoded
// at a reduced scale whose result still covers the needed size.
std::shared_ptr<ImageData> DecodeImage(Bytes bytes, const SizeNeeded& needed = {});

// As DecodeImage, reading `bytes` where they are and keeping none of them: the result's `bytes`
// is empty.
std::shared_ptr<ImageData> DecodePixels(imaging::ByteView bytes, const SizeNeeded& needed = {});

// The pixel memory (4 bytes a pixel) of the bitmap that DecodeImage(bytes, needed) would make,
// read from the header alone; 0 when DecodeImage would refuse the bytes before decoding.
std::uint64_t DecodedPixelBytes(imaging::ByteView bytes, const SizeNeeded& needed = {});

}  // namespace mirvane
