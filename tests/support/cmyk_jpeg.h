// Four-channel JPEGs as prepress software writes them, made through libjpeg, which TurboJPEG's
// compressor does not expose for CMYK.
#pragma once

#include <QImage>

#include "archive/bytes.h"

namespace mirvane::testing {

enum class CmykJpeg {
    AdobeCmyk,  // an Adobe marker, no colour transform, inverted ink values
    AdobeYcck,  // an Adobe marker, the YCCK transform, inverted ink values
    PlainCmyk,  // no Adobe marker, plain ink values
};

// `image` turned into ink amounts (K the darkest share, the rest under it) and compressed.
Bytes CmykJpegOf(const QImage& image, CmykJpeg kind);

}  // namespace mirvane::testing
