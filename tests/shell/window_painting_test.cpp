#include "shell/window_painting.h"

#include <gtest/gtest.h>

#include "painting_fixture.h"

namespace mirvane::testing {
namespace {

using WindowPainting = PaintingTest;

TEST_F(WindowPainting, GoldenPixels) {
    PaintedWindow window;
    ExpectGoldenWindow(window.grab().toImage(), 1.0f);
    // The default well holds the sheet at k = 466 / 2968: its shadow ends at x = 965.5.
    const QImage image = window.grab().toImage();
    EXPECT_EQ(image.pixel(964, 400), kShadowColour);
    EXPECT_EQ(image.pixel(966, 400), kWellColour);

    ExpectGoldenWindow(shell::ComposeWindowImage(QSize(1164, 801), 1.5f, 2), 1.5f);
    window.columns = 3;
    ExpectGoldenWindow(window.grab().toImage(), 1.0f, 3);
}

TEST_F(WindowPainting, StatusColourFollowsItsKind) {
    const auto statusArea = [](float scale) { return DeviceRect(scale, 324, 762, 537, 38); };
    const QImage normal = shell::ComposeWindowImage(QSize(1164, 801), 1.0f, 2);
    EXPECT_GT(MaxOver(normal, statusArea(1), Darkness), 80);
    EXPECT_LT(MaxOver(normal, statusArea(1), Redness), 20);

    SetStatusText(QStringLiteral("The PNG could not be exported."), true);
    for (const float scale : {1.0f, 1.5f}) {
        const QImage error = shell::ComposeWindowImage(QSize(1164, 801), scale, 2);
        // The text's fully covered pixels are #aa3228 itself.
        EXPECT_GT(MaxOver(error, statusArea(scale), Redness), 100) << scale;
        EXPECT_LE(MaxOver(error, statusArea(scale), Redness), 0xaa - 0x32) << scale;
    }
}

TEST_F(WindowPainting, WellStaysEmptyWithoutTwoFrames) {
    for (const int frames : {0, 1}) {
        ShowSheetOf(frames);
        const QImage image = shell::ComposeWindowImage(QSize(1164, 801), 1.0f, 2);
        EXPECT_TRUE(AllOf(image, QRect(324, 191, 802, 494), kWellColour)) << frames;
    }
}

// What a repaint of `region` paints, over a green surface.
QImage RepaintOf(PaintedWindow& window, const QRect& region) {
    QImage image(window.size(), QImage::Format_RGB32);
    image.fill(Qt::green);
    window.render(&image, region.topLeft(), QRegion(region), QWidget::DrawChildren);
    return image;
}

TEST_F(WindowPainting, ClockRepaintPaintsAllOfTheBottomStripAndNothingAbove) {
    PaintedWindow window;
    const QRect band = shell::FooterBandRect(window);
    EXPECT_EQ(band, QRect(0, 755, 1164, 46));
    const QImage full = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage footer = RepaintOf(window, band);
    const QRect panelAndStatus(0, 755, 865, 46);  // the clock may have moved on
    EXPECT_EQ(footer.copy(panelAndStatus), full.copy(panelAndStatus));
    EXPECT_TRUE(AllOf(footer, QRect(0, 0, 1164, 755), 0xff00ff00));
    // Any part of the strip alone, as a backing store may ask for it.
    const QImage corner = RepaintOf(window, QRect(0, 780, 120, 21));
    EXPECT_EQ(corner.copy(0, 780, 120, 21), full.copy(0, 780, 120, 21));

    // One row higher, the repaint goes through the back buffer and paints the panel too.
    const QImage higher = RepaintOf(window, band.adjusted(0, -1, 0, 0));
    EXPECT_EQ(higher.copy(0, 754, 294, 47), full.copy(0, 754, 294, 47));
}

}  // namespace
}  // namespace mirvane::testing
