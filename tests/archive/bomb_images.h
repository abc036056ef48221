// Small hostile files that promise a decoder far more memory or work than they are worth,
// made on the fly. Every file is complete and well formed unless its name says otherwise, so
// that only a limit can refuse it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "archive/bytes.h"

namespace mirvane::testing {

// A baseline greyscale JPEG of one flat grey. Each 8 x 8 block costs two bits, so even
// 65535 x 65535 pixels take only 16 MiB.
Bytes FlatJpeg(int width, int height);

// A progressive greyscale JPEG of one flat grey: one DC scan, then `acScans` scans that each
// send the same empty AC band again. libjpeg accepts the repeats; every one of them costs a
// pass over all blocks.
Bytes ManyScanJpeg(int width, int height, int acScans);

// A one-bit greyscale PNG, every pixel black, or with `rgba16` one of 16-bit RGBA, every pixel
// transparent black. Its picture data is deflated as it is made, so a 65535 x 65535 file costs
// about half a megabyte and a second or two to make.
Bytes FlatPng(std::uint32_t width, std::uint32_t height, bool rgba16 = false);

// A small PNG with `count` compressed text chunks before its picture data, each of which
// inflates a thousandfold to just under 8 MB, the most libpng inflates per chunk by default.
Bytes PngWithTextBombs(int count);

// A small PNG with `count` one-letter text chunks before its picture data.
Bytes PngWithManyTextChunks(int count);

// A PNG header followed by one text chunk declaring 2 GiB, of which the file holds 4 bytes.
Bytes PngWithHugeChunk();

// A PNG header followed by tiny text chunks up to `size` bytes, and no picture and no end.
Bytes PngWithEndlessChunks(std::size_t size);

// An 8-bit run-length-encoded BMP that ends its bitmap at once, which leaves every pixel at
// palette entry 0: about a kilobyte for any size.
Bytes FlatRleBmp(std::int32_t width, std::int32_t height);

// One hostile file and what it is called in reports.
struct Bomb {
    std::string name;
    Bytes bytes;
};

// Every file above at its hostile size: the sides just over the cap, the pixel count just over
// it, 65535 x 65535, and the chunk and scan floods.
std::vector<Bomb> AllBombs();

}  // namespace mirvane::testing
