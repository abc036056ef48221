// Turns a photograph's bytes and its year into a sheet frame with a small preview.
#pragma once

#include <QSize>
#include <cstdint>
#include <optional>

#include "archive/bytes.h"
#include "sheet/frame.h"

namespace mirvane {

inline constexpr int kPreviewLongSide = 768;
inline constexpr std::int32_t kFirstFrameYear = 1800;
inline constexpr std::int32_t kLastFrameYear = 2200;

// The preview's size for an upright photograph: at most 768 pixels on the longer side, never
// larger than the photograph, computed in 32-bit floats (so 1135 x 100 gives 767 x 67).
QSize PreviewSize(QSize upright);

// Decodes `bytes` (taken whatever the outcome) and makes a frame of the given year whose
// encodedBytes are those very bytes. Nothing when the year lies outside 1800-2200, the bytes do
// not decode or the preview cannot be made.
std::optional<Frame> PrepareFrame(Bytes bytes, std::int32_t year);

}  // namespace mirvane
