// JPEG through libjpeg-turbo: faster than Qt's reader, able to decode at 1/2, 1/4 and 1/8 of the
// stored size, and strict: a truncated or corrupt stream is an error, never a grey-filled picture.
#pragma once

#include <QImage>
#include <QSize>
#include <optional>

#include "render/imaging.h"

namespace mirvane::imaging::jpeg {

// The stored size from the frame header, without decoding.
std::optional<QSize> ReadSize(ByteView bytes);

// The size a decode yields for the smallest of the scales 1/8, 1/4, 1/2 that keeps both sides
// at least `atLeast`; the stored size when none does or `atLeast` is empty.
QSize ReducedSize(QSize stored, QSize atLeast);

// Decodes into a new Format_RGB32 image of `ReducedSize(stored, atLeast)`.
Status Decode(ByteView bytes, QSize stored, QSize atLeast, QImage* out);

}  // namespace mirvane::imaging::jpeg
