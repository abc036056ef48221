// An 8-bit RGB image, rows top to bottom without padding.
#pragma once

#include <cstdint>
#include <vector>

namespace mirvane::photogen {

struct Raster {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};

}  // namespace mirvane::photogen
