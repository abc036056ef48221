// What each archive photograph is: its place and year, pixel size and encoding.
#pragma once

#include <cstddef>
#include <vector>

#include "jpeg_writer.h"
#include "terrain_renderer.h"

namespace mirvane::photogen {

struct PhotoPlan {
    std::size_t row = 0;
    unsigned id = 0;
    std::size_t place = 0;  // index into the catalog's places
    int year = 0;
    int width = 0;
    int height = 0;
    JpegSettings jpeg;
    Grain grain;
};

// One plan per catalog row, in row order.
std::vector<PhotoPlan> PlanArchive();

}  // namespace mirvane::photogen
