// The marker segments of a JPEG that come before its image data, walked with every length
// checked against the file.
#pragma once

#include <cstdint>
#include <optional>

#include "render/imaging.h"

namespace mirvane::imaging::jpeg {

// The payload of the first segment with `marker` whose payload starts with `signature`, without
// the signature; nothing when there is none before the image data or the markers are malformed.
std::optional<ByteView> FindSegment(ByteView bytes, std::uint8_t marker, ByteView signature);

}  // namespace mirvane::imaging::jpeg
