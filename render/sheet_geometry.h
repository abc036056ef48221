// Every size on a contact sheet, from its pixel width, column count and frame count.
#pragma once

#include <cstdint>

namespace mirvane {

// All lengths in sheet pixels and proportional to the width. The title band is width x 0.15
// high, the grid starts below it at x = margin, and a band of width x 0.09 follows the last row.
struct SheetGeometry {
    std::int32_t width;    // 3000 or 4500
    std::int32_t height;   // the whole sheet
    std::int32_t columns;  // 2 or 3
    std::int32_t rows;     // enough rows for every frame; a last row may be incomplete
    float margin;          // left and right
    float gap;             // between neighbouring cells, both ways
    float cellWidth;
    float cellHeight;  // always cellWidth x 0.82
};

// Computed in single precision in a fixed order, so every caller gets the very same sizes.
// Throws std::invalid_argument("Invalid sheet geometry") unless width is 3000 or 4500, columns 2
// or 3 and frameCount 2 to 6. Safe on any thread.
SheetGeometry ComputeSheetGeometry(std::int32_t width, std::int32_t columns,
                                   std::int32_t frameCount);

}  // namespace mirvane
