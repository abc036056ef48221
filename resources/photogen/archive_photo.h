// Drawing, encoding and storing one archive photograph.
#pragma once

#include <filesystem>
#include <string>

#include "photo_plan.h"
#include "raster.h"

namespace mirvane::photogen {

// Writes `dir`/photo_<id>.jpg and returns the SHA-256 of its bytes as lowercase hex.
// `scratch` is reused between calls to save reallocating the pixels. Throws on failure.
std::string WriteArchivePhoto(const PhotoPlan& plan, const std::filesystem::path& dir,
                              Raster& scratch);

}  // namespace mirvane::photogen
