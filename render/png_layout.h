// A guard for PNG files: libpng allocates a chunk's declared length before reading it, so a tiny
// file declaring a gigabyte-long chunk would cost a gigabyte. Every chunk must fit in the file.
#pragma once

#include "render/imaging.h"

namespace mirvane::imaging {

// False when a chunk before the end chunk claims more bytes than the file still holds, or the
// file ends before its end chunk.
bool PngChunksFitInFile(ByteView bytes);

}  // namespace mirvane::imaging
