#include "support/exif_segments.h"

#include <stdexcept>

namespace mirvane::testing {
namespace {

constexpr std::uint16_t kAscii = 2;
constexpr std::uint16_t kLong = 4;
constexpr std::uint16_t kExifIfdTag = 0x8769;

int TypeSize(std::uint16_t type) {
    static constexpr int kSizes[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};
    return type < std::size(kSizes) ? kSizes[type] : 1;
}

}  // namespace

void ExifBlock::Put(Bytes& out, std::uint64_t number, int size) const {
    for (int i = 0; i < size; ++i) {
        const int shift = 8 * (bigEndian_ ? size - 1 - i : i);
        out.push_back(static_cast<std::uint8_t>(number >> shift));
    }
}

ExifBlock& ExifBlock::Add(std::uint16_t tag, std::uint16_t type, std::uint32_t count,
                          const std::vector<std::uint32_t>& values) {
    Bytes value;
    for (std::uint32_t v : values) {
        Put(value, v, TypeSize(type));
    }
    entries_.push_back({tag, type, count, std::move(value), false});
    return *this;
}

ExifBlock& ExifBlock::AddText(std::uint16_t tag, const std::string& text, bool inExifIfd) {
    Bytes value(text.begin(), text.end());
    value.push_back(0);
    entries_.push_back({tag, kAscii, static_cast<std::uint32_t>(value.size()), value, inExifIfd});
    return *this;
}

Bytes ExifBlock::Tiff() const {
    std::vector<Entry> first;
    std::vector<Entry> exif;
    for (const Entry& e : entries_) {
        (e.inExifIfd ? exif : first).push_back(e);
    }
    const auto ifdSize = [](std::size_t entries) {
        return static_cast<std::uint32_t>(2 + 12 * entries + 4);
    };
    const std::uint32_t firstAt = 8;
    const std::uint32_t exifAt = firstAt + ifdSize(first.size() + (exif.empty() ? 0 : 1));
    if (!exif.empty()) {
        Bytes pointer;
        Put(pointer, exifAt, 4);
        first.push_back({kExifIfdTag, kLong, 1, pointer, false});
    }
    const std::uint32_t dataAt = exifAt + (exif.empty() ? 0 : ifdSize(exif.size()));

    Bytes out = bigEndian_ ? Bytes{'M', 'M'} : Bytes{'I', 'I'};
    Put(out, 42, 2);
    Put(out, firstAt, 4);
    Bytes data;
    const auto writeIfd = [&](const std::vector<Entry>& ifd) {
        Put(out, ifd.size(), 2);
        for (const Entry& e : ifd) {
            Put(out, e.tag, 2);
            Put(out, e.type, 2);
            Put(out, e.count, 4);
            if (e.value.size() <= 4) {
                Bytes inline4 = e.value;
                inline4.resize(4, 0);
                out.insert(out.end(), inline4.begin(), inline4.end());
            } else {
                Put(out, dataAt + data.size(), 4);
                data.insert(data.end(), e.value.begin(), e.value.end());
            }
        }
        Put(out, 0, 4);  // no next IFD
    };
    writeIfd(first);
    if (!exif.empty()) {
        writeIfd(exif);
    }
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

Bytes WithExif(const Bytes& jpeg, const Bytes& tiff) {
    const std::size_t length = 2 + 6 + tiff.size();
    if (jpeg.size() < 2 || length > 0xffff) {
        throw std::invalid_argument("EXIF segment");
    }
    Bytes out(jpeg.begin(), jpeg.begin() + 2);
    const Bytes header = {0xff,
                          0xe1,
                          static_cast<std::uint8_t>(length >> 8),
                          static_cast<std::uint8_t>(length),
                          'E',
                          'x',
                          'i',
                          'f',
                          0,
                          0};
    out.insert(out.end(), header.begin(), header.end());
    out.insert(out.end(), tiff.begin(), tiff.end());
    out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
    return out;
}

}  // namespace mirvane::testing
