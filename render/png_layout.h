// A guard for PNG files: a chunk that claims more bytes than the file still holds, or a file
// that ends before its end chunk, is refused before any decoder allocates anything for it.
#pragma once

#include "render/imaging.h"

namespace mirvane::imaging {

// False when a chunk before the end chunk claims more bytes than the file still holds, or the
// file ends before its end chunk.
bool PngChunksFitInFile(ByteView bytes);

}  // namespace mirvane::imaging
