// EXIF blocks made on the fly: a TIFF structure in either byte order, with entries of any type,
// placed into a JPEG as its APP1 segment.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "archive/bytes.h"

namespace mirvane::testing {

class ExifBlock {
  public:
    explicit ExifBlock(bool bigEndian = false) : bigEndian_(bigEndian) {}

    // An entry whose values are written at the type's size (1, 2, 4 or 8 bytes each); `count`
    // is stored as given, so it may disagree with the values on purpose.
    ExifBlock& Add(std::uint16_t tag, std::uint16_t type, std::uint32_t count,
                   const std::vector<std::uint32_t>& values);
    // An ASCII entry, NUL-terminated, in the first IFD or in the Exif IFD.
    ExifBlock& AddText(std::uint16_t tag, const std::string& text, bool inExifIfd = false);

    // The TIFF data: header, first IFD, the Exif IFD when it has entries, then the values.
    Bytes Tiff() const;

  private:
    struct Entry {
        std::uint16_t tag;
        std::uint16_t type;
        std::uint32_t count;
        Bytes value;
        bool inExifIfd;
    };
    void Put(Bytes& out, std::uint64_t number, int size) const;

    bool bigEndian_;
    std::vector<Entry> entries_;
};

// `jpeg` with an APP1 "Exif" segment holding `tiff`, right after the start marker.
Bytes WithExif(const Bytes& jpeg, const Bytes& tiff);

}  // namespace mirvane::testing
