// The two things the program reads from a JPEG's EXIF segment, with a reader of its own: every
// offset is checked against the segment before it is read, and no more IFDs are walked than the
// answer needs, so a hostile segment costs nothing but a refusal.
#pragma once

#include <optional>

#include "render/imaging.h"

namespace mirvane::imaging {

// Tag 274 of the first IFD: its first value read as an unsigned 16-bit number, whatever its type
// says (a LONG or a SHORT with a count of 2 counts too). 0 when there is no EXIF segment, no
// such tag, or the segment is malformed.
int ReadExifOrientation(ByteView jpeg);

// The year of DateTimeOriginal (in the Exif IFD), else of DateTime (in the first IFD), from a
// "YYYY:MM:DD HH:MM:SS" text; nothing when neither holds four digits other than "0000".
std::optional<int> ReadExifYear(ByteView jpeg);

}  // namespace mirvane::imaging
