#include "render/graphics.h"

#include <gtest/gtest.h>

#include "pixel_probes.h"

namespace mirvane::imaging {
namespace {

using testing::AllOf;
using testing::BoundsOf;

constexpr QRgb kWhite = 0xffffffff;
constexpr QRgb kRed = 0xffff0000;

Bitmap Surface(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(kWhite);
    return Bitmap(std::move(image));
}

TEST(GraphicsImages, ShrinkingThroughTheTransformAveragesEveryPixel) {
    // Every fourth column black: shrunk four times, each pixel is three quarters white.
    QImage lines(400, 400, QImage::Format_RGB32);
    for (int y = 0; y < 400; ++y) {
        for (int x = 0; x < 400; ++x) {
            lines.setPixel(x, y, x % 4 == 0 ? 0xff000000 : kWhite);
        }
    }
    const Bitmap source(lines);
    for (const InterpolationMode mode :
         {InterpolationMode::HighQuality, InterpolationMode::Bilinear}) {
        Bitmap target = Surface(100, 100);
        Graphics g(target);
        g.SetInterpolationMode(mode);
        g.ScaleTransform(0.25f, 0.25f);
        ASSERT_EQ(g.DrawImage(source, QRectF(0, 0, 400, 400), QRectF(0, 0, 400, 400)), Status::Ok);
        const auto grey = [&](int x, int y) { return qGray(target.Image().pixel(x, y)); };
        if (mode == InterpolationMode::HighQuality) {
            EXPECT_NEAR(grey(50, 50), 191, 3);
            EXPECT_NEAR(grey(3, 97), 191, 3);
        } else {
            // Four of sixteen pixels sampled miss the lines: proof the test sees aliasing.
            EXPECT_GT(std::abs(grey(50, 50) - 191), 30);
        }
    }
}

TEST(GraphicsImages, CoverWholeDevicePixelsWhereverTheTransformPutsThem) {
    Bitmap target = Surface(60, 60);
    QImage red(40, 40, QImage::Format_RGB32);
    red.fill(kRed);
    Graphics g(target);
    const GraphicsState outer = g.Save();
    g.SetInterpolationMode(InterpolationMode::HighQuality);
    g.TranslateTransform(10.3f, 20.6f);
    g.ScaleTransform(0.5f, 0.5f);
    g.Save();
    ASSERT_EQ(g.DrawImage(Bitmap(red), QRectF(0, 0, 40, 40), QRectF(0, 0, 40, 40)), Status::Ok);
    EXPECT_EQ(g.Restore(outer), Status::Ok);  // drops the inner state too
    EXPECT_TRUE(g.DeviceTransform().isIdentity());
    EXPECT_EQ(g.Restore(outer), Status::WrongState);
    // Scaled first, then moved: (10.3, 20.6) to (30.3, 40.6), edges rounded to the nearest
    // pixel boundary, and no blur.
    EXPECT_EQ(BoundsOf(target.Image(), target.Image().rect(), testing::Other(kWhite)),
              QRect(10, 21, 20, 20));
    EXPECT_TRUE(AllOf(target.Image(), QRect(10, 21, 20, 20), kRed));
}

TEST(GraphicsState, FailuresAreRecordedAndDrawingGoesOn) {
    Bitmap target = Surface(20, 20);
    Graphics g(target);
    EXPECT_EQ(g.DrawImage(Bitmap(), QRectF(0, 0, 5, 5), QRectF(0, 0, 1, 1)),
              Status::InvalidParameter);
    EXPECT_EQ(g.DrawString(QStringLiteral("x"), QRectF(0, 0, 9, 9), Font{QString(), 9}, kRed,
                           TextFormat{}),
              Status::FontFamilyNotFound);
    EXPECT_EQ(g.FillRectangle(SolidBrush(kRed), QRectF(0, 0, 5, 5)), Status::Ok);
    EXPECT_EQ(target.Image().pixel(2, 2), kRed);
    EXPECT_EQ(g.LastStatus(), Status::FontFamilyNotFound);

    Bitmap none;
    Graphics nowhere(none);
    EXPECT_EQ(nowhere.LastStatus(), Status::InvalidParameter);
    EXPECT_EQ(nowhere.FillRectangle(SolidBrush(kRed), QRectF(0, 0, 5, 5)), Status::WrongState);
    EXPECT_EQ(nowhere.Restore(nowhere.Save()), Status::WrongState);
}

}  // namespace
}  // namespace mirvane::imaging
