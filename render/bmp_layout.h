// BMP headers read by us: Qt reports a top-down file's height as negative and quietly returns a
// partly filled picture when the pixel rows of an uncompressed BMP are cut short, so the size
// and the rows' presence are checked here before Qt decodes anything.
#pragma once

#include <QSize>
#include <optional>

#include "render/imaging.h"

namespace mirvane::imaging {

// The picture's size from the header, whichever way up its rows are stored. Nothing when the
// header is cut short or its width or height is zero or negative (beyond the top-down sign).
std::optional<QSize> BmpStoredSize(ByteView bytes);

// False when the header of an uncompressed BMP promises more pixel rows than the data holds,
// or when the header itself is cut short. Run-length-encoded files are left to the decoder.
bool BmpPixelDataIsComplete(ByteView bytes);

}  // namespace mirvane::imaging
