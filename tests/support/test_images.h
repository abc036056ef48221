// Pictures made on the fly for the tests: flat or patterned, in every accepted format.
#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <functional>

#include "archive/bytes.h"

namespace mirvane::testing {

// A baseline JPEG of one grey level; cheap even at 80 megapixels.
Bytes FlatGreyJpeg(int width, int height, std::uint8_t grey = 128);

// A colour JPEG of `image` (quality 95, 4:4:4).
Bytes JpegOf(const QImage& image, bool progressive = false);

// `image` encoded by Qt in "png" or "bmp".
Bytes EncodeWithQt(const QImage& image, const char* format);

// Valid one-pixel files of formats the program refuses.
Bytes TinyGif();
Bytes TinyTiff();

// A picture whose top-left quadrant is red and the rest blue, to tell turns apart.
QImage QuadrantImage(int width, int height);

// Smooth detail everywhere, so resampling differences show.
QImage DetailedImage(int width, int height);

// `jpeg` with an EXIF segment holding one orientation tag, placed right after the start marker.
Bytes WithExifOrientation(const Bytes& jpeg, std::uint16_t orientation);

// `bytes` padded with zeros after the image's end to exactly `size` bytes.
Bytes PaddedTo(Bytes bytes, std::size_t size);

// The mean absolute difference of two equally sized pictures' colour channels, 0 to 255.
double MeanAbsoluteDifference(const QImage& a, const QImage& b);

}  // namespace mirvane::testing
