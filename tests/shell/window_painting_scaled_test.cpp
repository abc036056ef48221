// The painted window on a screen of pixel ratio 1.5: the back buffer reaches the window 1:1 and
// the footer-only path paints at the same scale.
#include <gtest/gtest.h>

#include "painting_fixture.h"

namespace {

// The ratio must be set before the shared test main makes the application object; a
// namespace-scope initializer runs before main.
const bool kScaled = qputenv("QT_SCALE_FACTOR", "1.5");

}  // namespace

namespace mirvane::testing {
namespace {

using ScaledWindowPainting = PaintingTest;

TEST_F(ScaledWindowPainting, WindowShowsTheBackBufferPixelForPixel) {
    ASSERT_TRUE(kScaled);
    PaintedWindow window;
    ASSERT_EQ(window.devicePixelRatio(), 1.5);
    const QImage grabbed = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ExpectGoldenWindow(window.grab().toImage(), 1.5f);
    const QImage composed =
        shell::ComposeWindowImage(window.size(), 1.5f, 2).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(grabbed.copy(0, 0, 1746, 1133), composed.copy(0, 0, 1746, 1133));

    // The band starts at device row 1133; logical row 755 maps to 1132.5, which rounds to it.
    const QRect band = shell::FooterBandRect(window);
    EXPECT_EQ(band.top(), 755);
    QImage footer(grabbed.size(), QImage::Format_RGB32);
    footer.setDevicePixelRatio(1.5);
    footer.fill(Qt::green);
    window.render(&footer, band.topLeft(), QRegion(band), QWidget::DrawChildren);
    // The band's edge is at 442.5: without anti-aliasing the footer-only path starts at 443. The
    // clock may have moved on.
    const QRect status(443, 1133, 854, 69);
    EXPECT_EQ(footer.copy(status), grabbed.copy(status));
    EXPECT_TRUE(AllOf(footer, QRect(0, 0, 1746, 1133), 0xff00ff00));
}

}  // namespace
}  // namespace mirvane::testing
