// PNG through libspng: every chunk's checksum checked, limits on what a file may declare before
// anything is allocated for it, and any PNG (16-bit, palette, grey, with or without alpha)
// decoded straight to 8 bits a channel, so a picture never costs more than 4 bytes a pixel.
#pragma once

#include <QImage>
#include <QSize>
#include <cstddef>
#include <optional>

#include "render/imaging.h"

namespace mirvane::imaging::png {

// What a PNG may carry besides its picture. The picture is all we decode a PNG for; its text,
// colour profile and other metadata are read past, but a flood of them is refused: no one
// ancillary chunk over 2 MiB (compressed text is measured inflated), no more than 8 MiB of them
// kept in all, and (libspng's own, fixed limit) no more than 1000 of them.
inline constexpr std::size_t kMaxAncillaryChunkBytes = 2 << 20;
inline constexpr std::size_t kMaxAncillaryBytes = 8 << 20;

// The stored size from the header chunk, without decoding the picture. Nothing for a malformed
// header.
std::optional<QSize> ReadSize(ByteView bytes);

// Decodes into a new image of `stored` size: Format_ARGB32_Premultiplied when the file has an
// alpha channel or a transparent colour, Format_RGB32 otherwise. The decoder is limited to
// `stored`, the size the caller has approved, so a file saying otherwise fails before any
// pixel memory exists.
Status Decode(ByteView bytes, QSize stored, QImage* out);

}  // namespace mirvane::imaging::png
