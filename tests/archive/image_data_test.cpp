#include "archive/image_data.h"

#include <gtest/gtest.h>

#include "archive/photo_limits.h"
#include "support/test_images.h"

namespace mirvane {
namespace {

using testing::EncodeWithQt;
using testing::FlatGreyJpeg;

QSize DecodedSize(Bytes bytes) {
    const std::shared_ptr<ImageData> data = DecodeImage(std::move(bytes));
    return data ? data->bitmap.Size() : QSize();
}

TEST(DecodeImage, RefusesWhatIsNoAcceptedPicture) {
    const QImage small = testing::QuadrantImage(40, 30);
    EXPECT_EQ(DecodeImage({}), nullptr);
    EXPECT_EQ(DecodeImage(Bytes(1000, 0x41)), nullptr);
    EXPECT_EQ(DecodeImage(testing::TinyGif()), nullptr);
    EXPECT_EQ(DecodeImage(testing::TinyTiff()), nullptr);
    EXPECT_EQ(DecodeImage(EncodeWithQt(small, "ppm")), nullptr);
}

TEST(DecodeImage, EncodedSizeCapIsFortyMebibytes) {
    const Bytes jpeg = FlatGreyJpeg(64, 48);
    EXPECT_EQ(DecodedSize(testing::PaddedTo(jpeg, kMaxPhotoBytes)), QSize(64, 48));
    EXPECT_EQ(DecodeImage(testing::PaddedTo(jpeg, kMaxPhotoBytes + 1)), nullptr);
}

TEST(DecodeImage, PixelCapsHoldAtTheirEdges) {
    EXPECT_EQ(DecodedSize(FlatGreyJpeg(24000, 3333)), QSize(24000, 3333));
    EXPECT_EQ(DecodedSize(FlatGreyJpeg(3333, 24000)), QSize(3333, 24000));
    EXPECT_EQ(DecodedSize(FlatGreyJpeg(8944, 8944)), QSize(8944, 8944));
    EXPECT_EQ(DecodeImage(FlatGreyJpeg(24001, 1)), nullptr);
    EXPECT_EQ(DecodeImage(FlatGreyJpeg(1, 24001)), nullptr);
    EXPECT_EQ(DecodeImage(FlatGreyJpeg(24000, 3334)), nullptr);
    EXPECT_EQ(DecodeImage(FlatGreyJpeg(8945, 8945)), nullptr);
}

TEST(DecodeImage, DecodesPngAndBmpLikeJpeg) {
    const QImage image = testing::QuadrantImage(300, 200);
    for (const char* format : {"png", "bmp"}) {
        const std::shared_ptr<ImageData> data = DecodeImage(EncodeWithQt(image, format));
        ASSERT_NE(data, nullptr) << format;
        EXPECT_EQ(data->bitmap.Size(), QSize(300, 200));
        EXPECT_EQ(data->bitmap.Image().pixel(10, 10), qRgb(255, 0, 0)) << format;
        EXPECT_EQ(data->bitmap.Image().pixel(290, 190), qRgb(0, 0, 255)) << format;
    }
}

TEST(DecodeImage, RefusesTruncatedAndCorruptData) {
    const QImage image = testing::DetailedImage(300, 200);
    for (Bytes bytes : {testing::JpegOf(image), testing::JpegOf(image, true),
                        EncodeWithQt(image, "png"), EncodeWithQt(image, "bmp")}) {
        bytes.resize(bytes.size() * 2 / 3);
        EXPECT_EQ(DecodeImage(bytes), nullptr);
    }
    Bytes corrupt = testing::JpegOf(image);
    std::fill(corrupt.begin() + corrupt.size() / 2, corrupt.begin() + corrupt.size() / 2 + 64,
              0xff);
    EXPECT_EQ(DecodeImage(corrupt), nullptr);
}

// A 4000 x 3000 JPEG, red in its stored top-left quadrant, under every orientation value.
TEST(DecodeImage, TurnsPicturesUprightByTheirOrientation) {
    const Bytes stored = testing::JpegOf(testing::QuadrantImage(4000, 3000));
    struct Case {
        int orientation;
        QSize size;
        QPoint red;  // where the stored top-left quadrant ends up
    };
    const Case cases[] = {
        {0, {4000, 3000}, {0, 0}}, {1, {4000, 3000}, {0, 0}},     {2, {4000, 3000}, {1, 0}},
        {3, {4000, 3000}, {1, 1}}, {4, {4000, 3000}, {0, 1}},     {5, {3000, 4000}, {0, 0}},
        {6, {3000, 4000}, {1, 0}}, {7, {3000, 4000}, {1, 1}},     {8, {3000, 4000}, {0, 1}},
        {9, {4000, 3000}, {0, 0}}, {65535, {4000, 3000}, {0, 0}},
    };
    for (const Case& c : cases) {
        const std::shared_ptr<ImageData> data =
            DecodeImage(testing::WithExifOrientation(stored, std::uint16_t(c.orientation)));
        ASSERT_NE(data, nullptr) << c.orientation;
        EXPECT_EQ(data->bitmap.Size(), c.size) << c.orientation;
        EXPECT_EQ(QSize(data->width, data->height), c.size);
        const QImage& image = data->bitmap.Image();
        for (int qx = 0; qx < 2; ++qx) {
            for (int qy = 0; qy < 2; ++qy) {
                const QRgb pixel =
                    image.pixel(qx * (c.size.width() - 20) + 10, qy * (c.size.height() - 20) + 10);
                const bool isRed = qRed(pixel) > 200 && qBlue(pixel) < 60;
                EXPECT_EQ(isRed, QPoint(qx, qy) == c.red)
                    << "orientation " << c.orientation << " quadrant " << qx << "," << qy;
            }
        }
    }
    EXPECT_EQ(DecodedSize(stored), QSize(4000, 3000));
}

TEST(DecodeImage, ReducedJpegDecodeStillCoversTheNeededSize) {
    const Bytes bytes = testing::JpegOf(testing::QuadrantImage(4000, 3000));
    const auto data = DecodeImage(testing::WithExifOrientation(bytes, 6),
                                  [](QSize upright) { return upright / 7; });
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(QSize(data->width, data->height), QSize(3000, 4000));
    EXPECT_EQ(data->bitmap.Size(), QSize(750, 1000)) << "1/4 is the smallest scale that covers";
}

// What the decode will allocate, known before it: the pixels of exactly the bitmap it makes.
TEST(DecodedPixelBytes, MatchesTheBitmapTheDecodeMakes) {
    const SizeNeeded seventh = [](QSize upright) { return upright / 7; };
    const Bytes jpeg = testing::JpegOf(testing::QuadrantImage(4000, 3000));
    struct Case {
        const char* name;
        Bytes bytes;
        SizeNeeded needed;
    };
    const Case cases[] = {
        {"JPEG, full size", jpeg, {}},
        {"JPEG at a reduced scale", jpeg, seventh},
        {"turned JPEG at a reduced scale", testing::WithExifOrientation(jpeg, 6), seventh},
        {"PNG, always full", testing::EncodeWithQt(testing::QuadrantImage(900, 600), "png"),
         seventh},
        {"BMP, always full", testing::EncodeWithQt(testing::QuadrantImage(90, 60), "bmp"), seventh},
    };
    for (const Case& c : cases) {
        const std::uint64_t predicted = DecodedPixelBytes(c.bytes, c.needed);
        const auto data = DecodeImage(Bytes(c.bytes), c.needed);
        ASSERT_NE(data, nullptr) << c.name;
        EXPECT_EQ(predicted, 4u * data->bitmap.Width() * data->bitmap.Height()) << c.name;
    }
    EXPECT_EQ(DecodedPixelBytes(FlatGreyJpeg(24001, 1)), 0u) << "refused before decoding";
    EXPECT_EQ(DecodedPixelBytes(testing::TinyGif()), 0u);
    EXPECT_EQ(DecodedPixelBytes(Bytes{}), 0u);
}

}  // namespace
}  // namespace mirvane
