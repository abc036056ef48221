// A guard for BMP files: Qt's reader quietly returns a partly filled picture when the pixel
// rows of an uncompressed BMP are cut short, so we check that they are all there first.
#pragma once

#include "render/imaging.h"

namespace mirvane::imaging {

// False when the header of an uncompressed BMP promises more pixel rows than the data holds,
// or when the header itself is cut short. Run-length-encoded files are left to the decoder.
bool BmpPixelDataIsComplete(ByteView bytes);

}  // namespace mirvane::imaging
