// Drawing one photograph of each archive place in a given year.
#pragma once

#include "raster.h"
#include "terrain_renderer.h"

namespace mirvane::photogen {

// Each fills `raster` (its width and height already set) with the place as seen in `year`.
void DrawAralSea(int year, const Grain& grain, Raster& raster);
void DrawColumbiaGlacier(int year, const Grain& grain, Raster& raster);
void DrawLakePowell(int year, const Grain& grain, Raster& raster);

}  // namespace mirvane::photogen
