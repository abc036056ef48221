#include "render/exif.h"

#include <gtest/gtest.h>

#include "render/imaging.h"
#include "support/exif_segments.h"
#include "support/test_images.h"

namespace mirvane::imaging {
namespace {

using testing::ExifBlock;
using testing::WithExif;

constexpr std::uint16_t kOrientation = 274;
constexpr std::uint16_t kShort = 3;
constexpr std::uint16_t kLong = 4;

const Bytes& SmallJpeg() {
    static const Bytes jpeg = testing::FlatGreyJpeg(8, 8);
    return jpeg;
}

int OrientationOf(const Bytes& tiff) {
    return ReadExifOrientation(WithExif(SmallJpeg(), tiff));
}

std::optional<int> YearOf(const ExifBlock& block) {
    return ReadExifYear(WithExif(SmallJpeg(), block.Tiff()));
}

TEST(ExifOrientation, FirstValueCountsWhateverTheTypeAndByteOrder) {
    struct Storage {
        const char* name;
        std::uint16_t type;
        std::uint32_t count;
    };
    const Storage storages[] = {{"SHORT", kShort, 1}, {"LONG", kLong, 1}, {"SHORT x2", kShort, 2}};
    for (bool bigEndian : {false, true}) {
        for (const Storage& s : storages) {
            for (std::uint32_t o = 1; o <= 8; ++o) {
                std::vector<std::uint32_t> values(s.count, 0);
                values[0] = o;
                const Bytes tiff =
                    ExifBlock(bigEndian).Add(kOrientation, s.type, s.count, values).Tiff();
                EXPECT_EQ(OrientationOf(tiff), int(o))
                    << s.name << (bigEndian ? " big-endian " : " little-endian ") << o;
            }
        }
    }
    // The decoder's header takes it from here, not from Qt, which reads a single SHORT only.
    const Bytes turned = WithExif(testing::FlatGreyJpeg(40, 30),
                                  ExifBlock(true).Add(kOrientation, kLong, 1, {6}).Tiff());
    const std::optional<ImageHeader> header = ReadImageHeader(turned);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->orientation, 6);
}

TEST(ExifOrientation, MalformedSegmentsGiveZero) {
    const Bytes good =
        ExifBlock().Add(0x0100, kShort, 1, {8}).Add(kOrientation, kShort, 1, {6}).Tiff();
    ASSERT_EQ(OrientationOf(good), 6);
    // Cut anywhere before the orientation entry's end, the segment holds no orientation.
    for (std::size_t cut = 0; cut < 8 + 2 + 24; ++cut) {
        EXPECT_EQ(OrientationOf(Bytes(good.begin(), good.begin() + cut)), 0) << "cut at " << cut;
    }
    const auto patched = [&](std::size_t at, std::initializer_list<std::uint8_t> bytes) {
        Bytes tiff = good;
        std::copy(bytes.begin(), bytes.end(), tiff.begin() + at);
        return tiff;
    };
    EXPECT_EQ(OrientationOf(patched(0, {'I', 'M'})), 0) << "byte order";
    EXPECT_EQ(OrientationOf(patched(2, {43, 0})), 0) << "TIFF magic";
    EXPECT_EQ(OrientationOf(patched(4, {0xf0, 0xff, 0xff, 0xff})), 0) << "IFD outside";
    EXPECT_EQ(OrientationOf(patched(8, {0xff, 0xff})), 0) << "more entries than the data holds";
    EXPECT_EQ(OrientationOf(patched(24, {13, 0})), 0) << "unknown type";
    EXPECT_EQ(OrientationOf(patched(26, {0, 0, 0, 0})), 0) << "count 0";
    // Three SHORTs live outside the entry, at an offset past the end.
    EXPECT_EQ(OrientationOf(patched(26, {3, 0, 0, 0, 0xff, 0xff, 0, 0})), 0) << "value outside";

    EXPECT_EQ(ReadExifOrientation(SmallJpeg()), 0) << "no EXIF";
    Bytes overlong = WithExif(SmallJpeg(), good);
    overlong[4] = 0xff;  // the segment claims more bytes than the file has
    EXPECT_EQ(ReadExifOrientation(overlong), 0);
    EXPECT_EQ(ReadExifOrientation(Bytes{0xff, 0xd8, 0xff, 0xe1}), 0);
}

TEST(ExifYear, OriginalDateFirstThenDateTime) {
    constexpr std::uint16_t kDateTime = 0x0132;
    constexpr std::uint16_t kOriginal = 0x9003;
    for (bool bigEndian : {false, true}) {
        EXPECT_EQ(YearOf(ExifBlock(bigEndian)
                             .AddText(kDateTime, "2021:05:01 10:00:00")
                             .AddText(kOriginal, "1998:07:14 09:30:00", true)),
                  1998);
        EXPECT_EQ(YearOf(ExifBlock(bigEndian).AddText(kDateTime, "2021:05:01 10:00:00")), 2021);
        EXPECT_EQ(YearOf(ExifBlock(bigEndian)
                             .AddText(kDateTime, "2021:05:01 10:00:00")
                             .AddText(kOriginal, "0000:00:00 00:00:00", true)),
                  2021)
            << "an unset original date falls back";
        EXPECT_EQ(YearOf(ExifBlock(bigEndian).AddText(kDateTime, "    :  :     :  :  ")),
                  std::nullopt);
        EXPECT_EQ(YearOf(ExifBlock(bigEndian).Add(kDateTime, kLong, 1, {2021})), std::nullopt)
            << "a date that is no text";
        EXPECT_EQ(YearOf(ExifBlock(bigEndian).Add(kOrientation, kShort, 1, {1})), std::nullopt);
    }
    EXPECT_EQ(ReadExifYear(SmallJpeg()), std::nullopt);

    // An Exif IFD pointer that leads back to the first IFD is read once, and nothing loops.
    Bytes looping =
        ExifBlock().AddText(kDateTime, "2003:01:01 00:00:00").AddText(kOriginal, "x", true).Tiff();
    const std::size_t pointerValue = 8 + 2 + 12 + 8;  // the second entry of the first IFD
    std::fill_n(looping.begin() + pointerValue, 4, 0);
    looping[pointerValue] = 8;
    EXPECT_EQ(ReadExifYear(WithExif(SmallJpeg(), looping)), 2003);
}

}  // namespace
}  // namespace mirvane::imaging
