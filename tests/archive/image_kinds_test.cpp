#include <gtest/gtest.h>

#include <QColor>
#include <QFile>
#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "archive/image_data.h"
#include "support/test_images.h"

namespace mirvane {
namespace {

// A gradient in every channel, with alpha falling from opaque to clear across the picture.
QImage Gradient(QImage::Format format) {
    QImage image(61, 37, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            image.setPixel(x, y, qRgba(x * 4, y * 6, 255 - x * 2, 255 - x * 4));
        }
    }
    return image.convertToFormat(format);
}

// The largest difference of any channel of any pixel, alpha included, both premultiplied.
int LargestDifference(const QImage& a, const QImage& b) {
    const QImage pa = a.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage pb = b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    int largest = 0;
    for (int y = 0; y < pa.height(); ++y) {
        for (int x = 0; x < pa.width(); ++x) {
            const QRgb p = pa.pixel(x, y);
            const QRgb q = pb.pixel(x, y);
            largest =
                std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                          std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    }
    return largest;
}

// Every kind of PNG that Qt writes decodes to the picture it was made from, 16-bit channels
// reduced to 8, opaque kinds as RGB32 and those with transparency premultiplied.
TEST(PngKinds, DecodeToTheirPictureAtEightBitsAChannel) {
    QImage palette = Gradient(QImage::Format_RGB32).convertToFormat(QImage::Format_Indexed8);
    QImage transparentPalette = palette;
    transparentPalette.setColor(0, qRgba(0, 0, 0, 0));
    struct Case {
        const char* name;
        QImage image;
        bool alpha;
    };
    const Case cases[] = {
        {"8-bit RGB", Gradient(QImage::Format_RGB32), false},
        {"8-bit RGBA", Gradient(QImage::Format_ARGB32), true},
        {"16-bit RGB", Gradient(QImage::Format_RGBX64), false},
        {"16-bit RGBA", Gradient(QImage::Format_RGBA64), true},
        {"8-bit grey", Gradient(QImage::Format_Grayscale8), false},
        {"16-bit grey", Gradient(QImage::Format_Grayscale16), false},
        {"palette", palette, false},
        {"palette with a transparent entry", transparentPalette, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::shared_ptr<ImageData> data = DecodeImage(testing::EncodeWithQt(c.image, "png"));
        ASSERT_NE(data, nullptr);
        const QImage& decoded = data->bitmap.Image();
        EXPECT_EQ(decoded.format(),
                  c.alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
        ASSERT_EQ(decoded.size(), c.image.size());
        EXPECT_LE(LargestDifference(decoded, c.image), 1);
    }
}

// The fuzzers' seeds are one small picture, darker at the top than at the bottom, in every kind
// of file the decoders take: JPEG baseline, progressive and with an orientation, PNG of every
// depth, BMP stored either way up, with 24 and 32 bits and run-length encoded. Each must decode
// the right way up, or the fuzzers start from nothing.
TEST(FuzzSeeds, EveryImageSeedDecodes) {
    int seeds = 0;
    for (const auto& entry : std::filesystem::directory_iterator(MIRVANE_IMAGE_SEEDS_DIR)) {
        SCOPED_TRACE(entry.path().filename().string());
        QFile file(QString::fromStdString(entry.path().string()));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const std::shared_ptr<ImageData> data = DecodeImage(Bytes(bytes.begin(), bytes.end()));
        ASSERT_NE(data, nullptr);
        const QImage& image = data->bitmap.Image();
        if (entry.path().filename().string().find("orientation-6") != std::string::npos) {
            EXPECT_EQ(image.size(), QSize(32, 48));
            EXPECT_GT(qGreen(image.pixel(1, 10)), qGreen(image.pixel(30, 10)) + 30);
        } else {
            EXPECT_EQ(image.size(), QSize(48, 32));
            EXPECT_GT(qGreen(image.pixel(10, 30)), qGreen(image.pixel(10, 1)) + 30);
        }
        ++seeds;
    }
    EXPECT_GE(seeds, 14);
}

}  // namespace
}  // namespace mirvane
