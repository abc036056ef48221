#include <gtest/gtest.h>

#include "pixel_probes.h"
#include "render/fonts.h"
#include "render/graphics.h"

namespace mirvane::imaging {
namespace {

const QString kLong = QStringLiteral(
    "Chronological contact sheets turn years of photographs into one story told in order");

// The box around every pixel the text touched on a white 1000 x 300 surface.
QRect Ink(const QString& text, const QRectF& box, float size, const TextFormat& format) {
    Bitmap target(QImage(1000, 300, QImage::Format_ARGB32_Premultiplied));
    target.Image().fill(0xffffffff);
    Graphics g(target);
    EXPECT_EQ(
        g.DrawString(text, box, Font{SheetFontFamily(), size, FontStyle::Bold}, 0xff000000, format),
        Status::Ok);
    return testing::BoundsOf(target.Image(), target.Image().rect(), testing::Other(0xffffffff));
}

TEST(DrawString, OneLineIsCutWithAnEllipsisInsideItsBox) {
    const QRectF box(20, 30, 300, 60);
    const QRect ink = Ink(kLong, box, 20, TextFormat{false});
    EXPECT_TRUE(box.toRect().contains(ink));
    EXPECT_LE(ink.left(), 22);  // from the top-left corner...
    EXPECT_LE(ink.top(), 40);
    EXPECT_GT(ink.right(), 300);  // ...filling the width, on one line
    EXPECT_LT(ink.height(), 28);
    // Cut elsewhere, it still ends at the same place: in the ellipsis.
    EXPECT_EQ(Ink(kLong.left(45), box, 20, TextFormat{false}).right(), ink.right());
}

TEST(DrawString, WrapsIntoWholeLinesAndCentres) {
    const QRect one = Ink(QStringLiteral("Story"), QRectF(0, 0, 600, 100), 20, TextFormat{});
    const QRectF twoAndAHalf(10, 10, 200, 68);
    const QRect two = Ink(kLong, twoAndAHalf, 20, TextFormat{});
    EXPECT_TRUE(twoAndAHalf.toRect().contains(two));
    EXPECT_GT(two.height(), 1.5 * one.height());
    EXPECT_GT(Ink(kLong, QRectF(10, 10, 200, 280), 20, TextFormat{}).height(), two.height() + 20);

    const QRectF box(100, 50, 400, 200);
    const QRect centred =
        Ink(QStringLiteral("Mirvane"), box, 30, TextFormat{false, TextAlignment::Centered});
    EXPECT_NEAR(centred.center().x(), box.center().x(), 3);
    EXPECT_NEAR(centred.center().y(), box.center().y(), 8);
}

TEST(DrawString, FractionalSizesAreDrawnAtTheirOwnSize) {
    // Qt itself rounds font sizes to whole pixels; 40.5 px must still come out between.
    const QString text = QStringLiteral("CHRONOLOGICAL CONTACT SHEET");
    const QRectF box(0, 0, 1000, 100);
    const int at405 = Ink(text, box, 40.5f, TextFormat{false}).width();
    EXPECT_GT(at405, Ink(text, box, 40, TextFormat{false}).width());
    EXPECT_LT(at405, Ink(text, box, 41, TextFormat{false}).width());
}

}  // namespace
}  // namespace mirvane::imaging
