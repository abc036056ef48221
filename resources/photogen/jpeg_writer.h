// JPEG encoding of a raster through the TurboJPEG API.
#pragma once

#include <cstdint>
#include <vector>

#include "raster.h"

namespace mirvane::photogen {

enum class Chroma { k420, k444 };

struct JpegSettings {
    int quality = 90;
    Chroma chroma = Chroma::k420;
    bool progressive = false;
    bool exif_orientation = false;  // add an Exif block saying "upright", as cameras do
};

// Throws std::runtime_error when the encoder fails.
std::vector<std::uint8_t> EncodeJpeg(const Raster& raster, const JpegSettings& settings);

// Makes TurboJPEG ignore the environment variables that would change its output.
void PinEncoderBehaviour();

}  // namespace mirvane::photogen
