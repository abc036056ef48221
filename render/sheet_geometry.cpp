#include "render/sheet_geometry.h"

#include <stdexcept>

namespace mirvane {

SheetGeometry ComputeSheetGeometry(std::int32_t width, std::int32_t columns,
                                   std::int32_t frameCount) {
    if ((width != 3000 && width != 4500) || (columns != 2 && columns != 3) || frameCount < 2 ||
        frameCount > 6) {
        throw std::invalid_argument("Invalid sheet geometry");
    }
    const float w = static_cast<float>(width);
    SheetGeometry geometry{};
    geometry.width = width;
    geometry.columns = columns;
    geometry.rows = (frameCount + columns - 1) / columns;
    geometry.margin = w * 0.045f;
    geometry.gap = w * 0.018f;
    geometry.cellWidth =
        (w - (geometry.margin + geometry.margin) - static_cast<float>(columns - 1) * geometry.gap) /
        static_cast<float>(columns);
    geometry.cellHeight = geometry.cellWidth * 0.82f;
    // Summed left to right in single precision, then truncated, never rounded.
    const float height = static_cast<float>(geometry.rows) * geometry.cellHeight + w * 0.15f +
                         static_cast<float>(geometry.rows - 1) * geometry.gap + w * 0.09f;
    geometry.height = static_cast<std::int32_t>(height);
    return geometry;
}

}  // namespace mirvane
