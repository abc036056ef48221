#include "render/exif.h"

#include <cstdint>

#include "render/jpeg_segments.h"

namespace mirvane::imaging {
namespace {

constexpr std::uint16_t kOrientationTag = 0x0112;
constexpr std::uint16_t kDateTimeTag = 0x0132;
constexpr std::uint16_t kExifIfdTag = 0x8769;
constexpr std::uint16_t kDateTimeOriginalTag = 0x9003;

enum Type : std::uint16_t {
    kByte = 1,
    kAscii = 2,
    kShort = 3,
    kLong = 4,
    kRational = 5,
    kSignedByte = 6,
    kUndefined = 7,
    kSignedShort = 8,
    kSignedLong = 9,
    kSignedRational = 10,
    kFloat = 11,
    kDouble = 12,
};

int TypeSize(std::uint16_t type) {
    switch (type) {
        case kByte:
        case kAscii:
        case kSignedByte:
        case kUndefined:
            return 1;
        case kShort:
        case kSignedShort:
            return 2;
        case kLong:
        case kSignedLong:
        case kFloat:
            return 4;
        case kRational:
        case kSignedRational:
        case kDouble:
            return 8;
        default:
            return 0;
    }
}

// The TIFF structure inside the segment; every read is checked against its end.
class Tiff {
  public:
    explicit Tiff(ByteView data) : data_(data) {}

    // Reads the byte order and returns the first IFD's offset.
    std::optional<std::uint32_t> Open() {
        if (data_.size() < 8) {
            return std::nullopt;
        }
        if (data_[0] == 'I' && data_[1] == 'I') {
            bigEndian_ = false;
        } else if (data_[0] == 'M' && data_[1] == 'M') {
            bigEndian_ = true;
        } else {
            return std::nullopt;
        }
        if (Read(2, 2) != 42) {
            return std::nullopt;
        }
        return static_cast<std::uint32_t>(*Read(4, 4));
    }

    struct Value {
        std::uint16_t type = 0;
        std::size_t offset = 0;  // of the value's bytes within the TIFF data
        std::size_t length = 0;
    };

    // The value of `tag` in the IFD at `ifd`; nothing when the tag is absent or any part of the
    // IFD or the value lies outside the data.
    std::optional<Value> Find(std::uint32_t ifd, std::uint16_t tag) const {
        // The whole IFD must lie within the data, not only the entries read before the tag.
        const std::optional<std::uint64_t> count = Read(ifd, 2);
        if (!count || std::uint64_t{ifd} + 2 + 12 * *count > data_.size()) {
            return std::nullopt;
        }
        for (std::uint64_t i = 0; i < *count; ++i) {
            const std::uint64_t entry = std::uint64_t{ifd} + 2 + 12 * i;
            if (*Read(entry, 2) != tag) {
                continue;
            }
            Value value;
            value.type = static_cast<std::uint16_t>(*Read(entry + 2, 2));
            const std::uint64_t length = *Read(entry + 4, 4) * TypeSize(value.type);
            const std::uint64_t offset = length <= 4 ? entry + 8 : *Read(entry + 8, 4);
            if (length == 0 || offset + length > data_.size()) {
                return std::nullopt;
            }
            value.offset = static_cast<std::size_t>(offset);
            value.length = static_cast<std::size_t>(length);
            return value;
        }
        return std::nullopt;
    }

    // An unsigned number of `size` bytes (1 to 8) in the file's byte order.
    std::optional<std::uint64_t> Read(std::uint64_t at, int size) const {
        if (at + static_cast<std::uint64_t>(size) > data_.size()) {
            return std::nullopt;
        }
        std::uint64_t number = 0;
        for (int i = 0; i < size; ++i) {
            const int shift = 8 * (bigEndian_ ? size - 1 - i : i);
            number |= std::uint64_t{data_[static_cast<std::size_t>(at) + i]} << shift;
        }
        return number;
    }

    ByteView Bytes(const Value& value) const { return data_.subspan(value.offset, value.length); }

  private:
    ByteView data_;
    bool bigEndian_ = false;
};

// The TIFF data of the "Exif" APP1 segment.
std::optional<ByteView> ExifTiff(ByteView jpeg) {
    static constexpr std::uint8_t kExifName[] = {'E', 'x', 'i', 'f', 0, 0};
    return jpeg::FindSegment(jpeg, 0xe1, kExifName);
}

// The first value of any type, as the low 16 bits of its number; single bytes pair up in
// little-endian order, as a native reader holding them as an array would see them.
std::optional<std::uint16_t> FirstValueAs16(const Tiff& tiff, const Tiff::Value& value) {
    if (value.length < 2) {
        return std::nullopt;
    }
    const int size = TypeSize(value.type);
    if (size == 1) {
        const ByteView bytes = tiff.Bytes(value);
        return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
    }
    const bool rational = value.type == kRational || value.type == kSignedRational;
    const std::optional<std::uint64_t> number = tiff.Read(value.offset, rational ? 4 : size);
    return number ? std::optional(static_cast<std::uint16_t>(*number & 0xffff)) : std::nullopt;
}

std::optional<int> YearOfDate(const Tiff& tiff, const std::optional<Tiff::Value>& value) {
    if (!value || value->type != kAscii || value->length < 4) {
        return std::nullopt;
    }
    int year = 0;
    for (std::uint8_t c : tiff.Bytes(*value).first(4)) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        year = year * 10 + (c - '0');
    }
    return year == 0 ? std::nullopt : std::optional(year);
}

}  // namespace

int ReadExifOrientation(ByteView jpeg) {
    const std::optional<ByteView> data = ExifTiff(jpeg);
    if (!data) {
        return 0;
    }
    Tiff tiff(*data);
    const std::optional<std::uint32_t> ifd0 = tiff.Open();
    if (!ifd0) {
        return 0;
    }
    const std::optional<Tiff::Value> value = tiff.Find(*ifd0, kOrientationTag);
    const std::optional<std::uint16_t> orientation =
        value ? FirstValueAs16(tiff, *value) : std::nullopt;
    return orientation.value_or(0);
}

std::optional<int> ReadExifYear(ByteView jpeg) {
    const std::optional<ByteView> data = ExifTiff(jpeg);
    if (!data) {
        return std::nullopt;
    }
    Tiff tiff(*data);
    const std::optional<std::uint32_t> ifd0 = tiff.Open();
    if (!ifd0) {
        return std::nullopt;
    }
    // The Exif IFD is the one other IFD read; its pointer is a LONG (or, rarely, a SHORT).
    const std::optional<Tiff::Value> pointer = tiff.Find(*ifd0, kExifIfdTag);
    if (pointer && (pointer->type == kLong || pointer->type == kShort)) {
        const std::optional<std::uint64_t> exifIfd =
            tiff.Read(pointer->offset, TypeSize(pointer->type));
        if (exifIfd) {
            const auto original = YearOfDate(
                tiff, tiff.Find(static_cast<std::uint32_t>(*exifIfd), kDateTimeOriginalTag));
            if (original) {
                return original;
            }
        }
    }
    return YearOfDate(tiff, tiff.Find(*ifd0, kDateTimeTag));
}

}  // namespace mirvane::imaging
