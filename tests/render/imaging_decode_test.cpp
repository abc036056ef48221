#include <gtest/gtest.h>

#include "render/bmp_layout.h"
#include "render/imaging.h"
#include "render/jpeg_decoder.h"
#include "render/png_layout.h"
#include "support/cmyk_jpeg.h"
#include "support/test_images.h"

namespace mirvane::imaging {
namespace {

// A 3 x 2 picture with a different colour in every pixel.
Bitmap Numbered() {
    QImage image(3, 2, QImage::Format_RGB32);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            image.setPixel(x, y, qRgb(x * 100, y * 100, 7));
        }
    }
    return Bitmap(std::move(image));
}

QRgb Source(int x, int y) {
    return qRgb(x * 100, y * 100, 7);
}

// Each turn, checked pixel by pixel against where the platform puts stored pixel (x, y).
TEST(RotateFlip, MovesEveryPixelWhereTheTypeSays) {
    const int w = 3;
    const int h = 2;
    struct Case {
        RotateFlipType type;
        QSize size;
        std::function<QPoint(int, int)> to;
    };
    const Case cases[] = {
        {RotateFlipType::RotateNoneFlipNone, {3, 2}, [](int x, int y) { return QPoint(x, y); }},
        {RotateFlipType::RotateNoneFlipX,
         {3, 2},
         [&](int x, int y) { return QPoint(w - 1 - x, y); }},
        {RotateFlipType::Rotate180FlipNone,
         {3, 2},
         [&](int x, int y) { return QPoint(w - 1 - x, h - 1 - y); }},
        {RotateFlipType::Rotate180FlipX,
         {3, 2},
         [&](int x, int y) { return QPoint(x, h - 1 - y); }},
        {RotateFlipType::Rotate90FlipX, {2, 3}, [](int x, int y) { return QPoint(y, x); }},
        {RotateFlipType::Rotate90FlipNone,
         {2, 3},
         [&](int x, int y) { return QPoint(h - 1 - y, x); }},
        {RotateFlipType::Rotate270FlipX,
         {2, 3},
         [&](int x, int y) { return QPoint(h - 1 - y, w - 1 - x); }},
        {RotateFlipType::Rotate270FlipNone,
         {2, 3},
         [&](int x, int y) { return QPoint(y, w - 1 - x); }},
    };
    for (const Case& c : cases) {
        Bitmap bitmap = Numbered();
        ASSERT_EQ(RotateFlip(bitmap, c.type), Status::Ok);
        ASSERT_EQ(bitmap.Size(), c.size) << int(c.type);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                EXPECT_EQ(bitmap.Image().pixel(c.to(x, y)), Source(x, y))
                    << "type " << int(c.type) << " pixel " << x << "," << y;
            }
        }
    }
    Bitmap bitmap = Numbered();
    EXPECT_EQ(RotateFlip(bitmap, RotateFlipType(8)), Status::InvalidParameter);
}

TEST(RotateFlipForOrientation, OnlyTwoToEightTurn) {
    EXPECT_EQ(RotateFlipForOrientation(6), RotateFlipType::Rotate90FlipNone);
    EXPECT_EQ(RotateFlipForOrientation(8), RotateFlipType::Rotate270FlipNone);
    for (int none : {-1, 0, 1, 9, 274}) {
        EXPECT_EQ(RotateFlipForOrientation(none), RotateFlipType::RotateNoneFlipNone) << none;
    }
}

TEST(ReadImageHeader, TellsFormatsFromContent) {
    const QImage image = testing::QuadrantImage(30, 20);
    const auto jpeg = ReadImageHeader(testing::JpegOf(image));
    ASSERT_TRUE(jpeg.has_value());
    EXPECT_EQ(jpeg->format, RawFormat::Jpeg);
    EXPECT_EQ(QSize(jpeg->width, jpeg->height), QSize(30, 20));
    EXPECT_EQ(ReadImageHeader(testing::EncodeWithQt(image, "png"))->format, RawFormat::Png);
    EXPECT_EQ(ReadImageHeader(testing::EncodeWithQt(image, "bmp"))->format, RawFormat::Bmp);
    EXPECT_EQ(ReadImageHeader(testing::TinyGif())->format, RawFormat::Gif);
    EXPECT_EQ(ReadImageHeader(testing::TinyTiff())->format, RawFormat::Tiff);
    EXPECT_FALSE(ReadImageHeader(Bytes{0xff, 0xd8, 0xff, 0xe0, 0, 2}).has_value());
}

// Prepress JPEGs come out as the RGB picture they show, at full and reduced scales alike.
TEST(DecodeBitmap, TurnsCmykAndYcckIntoRgb) {
    const QImage source = testing::DetailedImage(64, 48);
    for (testing::CmykJpeg kind : {testing::CmykJpeg::AdobeCmyk, testing::CmykJpeg::AdobeYcck,
                                   testing::CmykJpeg::PlainCmyk}) {
        const Bytes bytes = testing::CmykJpegOf(source, kind);
        const std::optional<ImageHeader> header = ReadImageHeader(bytes);
        ASSERT_TRUE(header) << int(kind);
        Bitmap full;
        ASSERT_EQ(DecodeBitmap(bytes, *header, {}, &full), Status::Ok) << int(kind);
        EXPECT_EQ(full.Image().format(), QImage::Format_RGB32);
        EXPECT_LT(testing::MeanAbsoluteDifference(full.Image(), source), 3.0) << int(kind);
        Bitmap half;
        ASSERT_EQ(DecodeBitmap(bytes, *header, {32, 24}, &half), Status::Ok);
        EXPECT_EQ(half.Size(), QSize(32, 24));
        EXPECT_LT(testing::MeanAbsoluteDifference(
                      half.Image(),
                      source.scaled(32, 24, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)),
                  6.0)
            << int(kind);
    }
}

TEST(JpegReducedSize, PicksTheSmallestScaleThatCovers) {
    EXPECT_EQ(jpeg::ReducedSize({5427, 6790}, {613, 768}), QSize(679, 849));
    EXPECT_EQ(jpeg::ReducedSize({5427, 6790}, {680, 768}), QSize(1357, 1698));
    EXPECT_EQ(jpeg::ReducedSize({4000, 3000}, {2001, 10}), QSize(4000, 3000));
    EXPECT_EQ(jpeg::ReducedSize({4000, 3000}, {}), QSize(4000, 3000));
    EXPECT_EQ(jpeg::ReducedSize({9, 9}, {1, 1}), QSize(2, 2)) << "sides round up";
}

TEST(BmpPixelDataIsComplete, ChecksRowsAgainstTheHeader) {
    const Bytes bmp = testing::EncodeWithQt(testing::QuadrantImage(31, 17), "bmp");
    EXPECT_TRUE(BmpPixelDataIsComplete(bmp));
    EXPECT_FALSE(BmpPixelDataIsComplete(ByteView(bmp).first(bmp.size() - 1)));
    EXPECT_FALSE(BmpPixelDataIsComplete(ByteView(bmp).first(20)));
    Bytes huge = bmp;
    huge[22] = huge[23] = huge[24] = huge[25] = 0x7f;  // a height of two billion rows
    EXPECT_FALSE(BmpPixelDataIsComplete(huge));
}

TEST(PngChunksFitInFile, RefusesChunksLongerThanTheFile) {
    const Bytes png = testing::EncodeWithQt(testing::QuadrantImage(31, 17), "png");
    EXPECT_TRUE(PngChunksFitInFile(png));
    EXPECT_FALSE(PngChunksFitInFile(ByteView(png).first(png.size() - 1))) << "no end chunk";
    // A text chunk declaring 1.5 GB, placed before the end chunk.
    Bytes bomb(png.begin(), png.end() - 12);
    const Bytes chunk = {0x60, 0, 0, 0, 't', 'E', 'X', 't', 'a', 0, 'b', 0, 0, 0, 0};
    bomb.insert(bomb.end(), chunk.begin(), chunk.end());
    bomb.insert(bomb.end(), png.end() - 12, png.end());
    EXPECT_FALSE(PngChunksFitInFile(bomb));
    EXPECT_EQ(DecodeBitmap(bomb, *ReadImageHeader(bomb), {}, nullptr), Status::DecodeFailed);
}

TEST(ResampleHighQuality, ShrinksWithoutAliasing) {
    // One-pixel stripes average to grey; a point sampler would keep black or white.
    QImage stripes(400, 400, QImage::Format_RGB32);
    for (int x = 0; x < 400; ++x) {
        for (int y = 0; y < 400; ++y) {
            stripes.setPixel(x, y, x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
        }
    }
    Bitmap small;
    ASSERT_EQ(ResampleHighQuality(Bitmap(stripes), {100, 100}, PixelFormat::Pargb32, &small),
              Status::Ok);
    EXPECT_EQ(small.Image().format(), QImage::Format_ARGB32_Premultiplied);
    for (int x = 0; x < 100; x += 9) {
        EXPECT_NEAR(qGreen(small.Image().pixel(x, 50)), 128, 3) << x;
    }
}

}  // namespace
}  // namespace mirvane::imaging
