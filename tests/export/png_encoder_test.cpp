#include "export/png_encoder.h"

#include <gtest/gtest.h>
#include <spng.h>

#include <QByteArray>
#include <memory>
#include <string>

#include "support/test_images.h"

namespace mirvane {
namespace {

struct SpngContextDeleter {
    void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};

// Decodes with libspng, which checks every CRC and the zlib stream strictly, into straight
// ARGB32; a null picture for anything it refuses.
QImage DecodeWithSpng(const Bytes& png) {
    std::unique_ptr<spng_ctx, SpngContextDeleter> context(spng_ctx_new(0));
    spng_ihdr header{};
    std::size_t size = 0;
    if (!context || spng_set_png_buffer(context.get(), png.data(), png.size()) != 0 ||
        spng_get_ihdr(context.get(), &header) != 0 ||
        spng_decoded_image_size(context.get(), SPNG_FMT_RGBA8, &size) != 0) {
        return {};
    }
    QImage image(static_cast<int>(header.width), static_cast<int>(header.height),
                 QImage::Format_RGBA8888);
    if (spng_decode_image(context.get(), image.bits(), size, SPNG_FMT_RGBA8, 0) != 0) {
        return {};
    }
    return image.convertToFormat(QImage::Format_ARGB32);
}

QImage DecodeWithQt(const Bytes& png) {
    QImage image;
    image.loadFromData(png.data(), static_cast<int>(png.size()), "PNG");
    return image.convertToFormat(QImage::Format_ARGB32);
}

// IHDR's colour type: 2 for RGB, 6 for RGBA.
int ColourType(const Bytes& png) {
    return png.size() > 25 ? png[25] : -1;
}

// Straight alpha that varies from pixel to pixel, fully transparent ones included.
QImage TranslucentImage(int width, int height) {
    QImage image = testing::DetailedImage(width, height).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            line[x] = (line[x] & 0x00ffffffu) | (static_cast<QRgb>((x * 7 + y * 13) % 256) << 24);
        }
    }
    return image;
}

void ExpectSamePixels(const QImage& decoded, const QImage& expected) {
    ASSERT_FALSE(decoded.isNull());
    ASSERT_EQ(decoded.size(), expected.size());
    const QImage want = expected.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < want.height(); ++y) {
        const auto* got = reinterpret_cast<const QRgb*>(decoded.constScanLine(y));
        const auto* line = reinterpret_cast<const QRgb*>(want.constScanLine(y));
        for (int x = 0; x < want.width(); ++x) {
            ASSERT_EQ(got[x], line[x]) << "pixel " << x << ", " << y;
        }
    }
}

// Sizes that exercise the first pixels' filtering, and pictures tall enough to be compressed
// in several bands that must join into one stream, the last band short.
TEST(EncodePng, OpaquePicturesDecodeToTheSamePixelsAsRgb) {
    for (const QSize size : {QSize(1, 1), QSize(2, 3), QSize(301, 257), QSize(37, 1537)}) {
        for (const QImage::Format format :
             {QImage::Format_RGB32, QImage::Format_ARGB32, QImage::Format_ARGB32_Premultiplied,
              QImage::Format_RGB888}) {
            SCOPED_TRACE(std::to_string(size.width()) + " x " + std::to_string(size.height()) +
                         ", format " + std::to_string(format));
            const QImage image =
                testing::DetailedImage(size.width(), size.height()).convertToFormat(format);
            const Bytes png = EncodePng(image);
            EXPECT_EQ(ColourType(png), 2);
            ExpectSamePixels(DecodeWithSpng(png), image);
            ExpectSamePixels(DecodeWithQt(png), image);
        }
    }
}

TEST(EncodePng, MakesTheSameFileWhenNoHelperThreadCanStart) {
    const QImage image = testing::DetailedImage(640, 2000);
    int refused = 0;
    const Bytes alone = EncodePng(image, kMaxPngBytes, [&](std::function<void()>) {
        ++refused;
        return std::jthread();
    });
    EXPECT_LE(refused, 1) << "no further start is tried once one fails";
    EXPECT_EQ(alone, EncodePng(image));
}

TEST(EncodePng, TranslucentPicturesKeepStraightAlpha) {
    const QImage straight = TranslucentImage(129, 1100);
    const Bytes png = EncodePng(straight);
    EXPECT_EQ(ColourType(png), 6);
    ExpectSamePixels(DecodeWithSpng(png), straight);
    ExpectSamePixels(DecodeWithQt(png), straight);

    // A premultiplied picture is written as the straight colours it stands for.
    const QImage premultiplied = straight.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const Bytes fromPremultiplied = EncodePng(premultiplied);
    EXPECT_EQ(ColourType(fromPremultiplied), 6);
    ExpectSamePixels(DecodeWithSpng(fromPremultiplied),
                     premultiplied.convertToFormat(QImage::Format_ARGB32));
}

TEST(EncodePng, OneTranslucentPixelMakesItRgba) {
    QImage image = testing::DetailedImage(64, 64).convertToFormat(QImage::Format_ARGB32);
    image.setPixel(63, 63, qRgba(10, 20, 30, 254));
    const Bytes png = EncodePng(image);
    EXPECT_EQ(ColourType(png), 6);
    ExpectSamePixels(DecodeWithSpng(png), image);
}

TEST(EncodePng, FailsBeyondTheSizeLimitOrWithoutAPictureAndFitsExactlyAtTheLimit) {
    const QImage image = testing::DetailedImage(200, 150);
    const Bytes png = EncodePng(image);
    ASSERT_FALSE(png.empty());
    EXPECT_EQ(EncodePng(image, png.size()), png);
    EXPECT_TRUE(EncodePng(image, png.size() - 1).empty());
    EXPECT_TRUE(EncodePng(image, 0).empty());
    EXPECT_TRUE(EncodePng(QImage()).empty());
}

}  // namespace
}  // namespace mirvane
