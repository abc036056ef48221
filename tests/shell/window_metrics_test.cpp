#include "shell/window_metrics.h"

#include <gtest/gtest.h>

#include "shell/ui_scale.h"

namespace mirvane::shell {
namespace {

TEST(FooterBand, PathChosenAtTheBandsRoundedTop) {
    EXPECT_EQ(FooterBandTop(801, 1.0f), 755);
    EXPECT_EQ(FooterBandTop(1000, 1.5f), 931);
    EXPECT_TRUE(IsFooterOnlyRepaint(931, 931));
    EXPECT_FALSE(IsFooterOnlyRepaint(930, 931));
    // 754 x 1.25 = 942.5 goes up: a repaint from 942 goes through the back buffer.
    EXPECT_EQ(FooterBandTop(1000, 1.25f), 943);
}

// The clock's repaint must take the cheap path at every scale, and still cover the footer text.
TEST(FooterBand, ClockRepaintTakesTheFooterPathAtEveryScale) {
    for (const float scale : {1.0f, 1.25f, 1.5f, 1.75f, 2.0f, 2.25f, 3.0f}) {
        for (int height = 701; height <= 1400; ++height) {
            const int pixels = ScaleToPixels(static_cast<float>(height), scale);
            const int bandTop = FooterBandTop(pixels, scale);
            const int top = FooterBandLogicalTop(pixels, scale);
            ASSERT_GE(DeviceTop(top, scale), bandTop) << scale << " " << height;
            ASSERT_LT(DeviceTop(top - 1, scale), bandTop) << scale << " " << height;
            ASSERT_LE(top, height - 39) << scale << " " << height;
        }
    }
    EXPECT_EQ(FooterBandLogicalTop(1000, 1.25f), 754);
}

TEST(PreviewPlacement, CentredAndLimitedByTheTighterSide) {
    // Four frames in two columns: 2968 pixels high, the well's height less 14 DIPs each side.
    PreviewPlacement p = PlacePreview(1164, 801, 2968);
    EXPECT_FLOAT_EQ(p.k, 466.0f / 2968);
    EXPECT_NEAR(p.oy, 205, 1e-4);
    EXPECT_NEAR(p.ox + 1500 * p.k, 324 + 401, 1e-3);
    // Two frames in three columns: 1436 high, the well's width less 19 DIPs each side.
    p = PlacePreview(1164, 801, 1436);
    EXPECT_FLOAT_EQ(p.k, 764.0f / 3000);
    EXPECT_NEAR(p.ox, 343, 1e-3);
    EXPECT_NEAR(p.oy + 718 * p.k, 191 + 247, 1e-3);
}

}  // namespace
}  // namespace mirvane::shell
