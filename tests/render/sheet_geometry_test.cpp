#include "render/sheet_geometry.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace mirvane {
namespace {

TEST(SheetGeometry, GivesEverySizeForEveryAcceptedChoice) {
    const struct {
        std::int32_t width, columns;
        float margin, gap, cellWidth, cellHeight;
        std::int32_t heights[5];  // for 2 to 6 frames
    } table[] = {
        {3000, 2, 135, 54, 1338, 1097.16f, {1817, 2968, 2968, 4119, 4119}},
        {3000, 3, 135, 54, 874, 716.68f, {1436, 1436, 2207, 2207, 2207}},
        {4500, 2, 202.5f, 81, 2007, 1645.74f, {2725, 4452, 4452, 6179, 6179}},
        {4500, 3, 202.5f, 81, 1311, 1075.02f, {2155, 2155, 3311, 3311, 3311}},
    };
    for (const auto& row : table) {
        for (std::int32_t frames = 2; frames <= 6; ++frames) {
            const SheetGeometry g = ComputeSheetGeometry(row.width, row.columns, frames);
            EXPECT_EQ(g.height, row.heights[frames - 2])
                << row.width << " px, " << row.columns << " columns, " << frames << " frames";
            EXPECT_EQ(g.rows, (frames + row.columns - 1) / row.columns);
            EXPECT_EQ(g.width, row.width);
            EXPECT_EQ(g.columns, row.columns);
            EXPECT_FLOAT_EQ(g.margin, row.margin);
            EXPECT_FLOAT_EQ(g.gap, row.gap);
            EXPECT_FLOAT_EQ(g.cellWidth, row.cellWidth);
            EXPECT_FLOAT_EQ(g.cellHeight, row.cellHeight);
        }
    }
}

TEST(SheetGeometry, RefusesChoicesOutsideTheAcceptedSet) {
    const std::int32_t refused[][3] = {{3001, 2, 4}, {0, 2, 4},    {-3000, 2, 4}, {3000, 1, 4},
                                       {3000, 4, 4}, {3000, 2, 1}, {3000, 2, 7},  {4500, 3, -2}};
    for (const auto& args : refused) {
        try {
            ComputeSheetGeometry(args[0], args[1], args[2]);
            ADD_FAILURE() << args[0] << ", " << args[1] << ", " << args[2] << " was accepted";
        } catch (const std::invalid_argument& error) {
            EXPECT_STREQ(error.what(), "Invalid sheet geometry");
        }
    }
}

}  // namespace
}  // namespace mirvane
