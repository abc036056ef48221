// Logical units (1/96 inch) to device pixels: the one rule every part of the window uses.
#pragma once

#include <cmath>

namespace mirvane::shell {

// The window's device pixel ratio; 1.0 until the window knows its screen. UI thread only.
inline float uiScale = 1.0f;

// `value` times `scale`, to the nearest integer, halves away from zero. Each coordinate is
// converted on its own; sums are never converted as a whole.
inline int ScaleToPixels(float value, float scale) {
    return static_cast<int>(std::lround(value * scale));
}
inline int ScaleToPixels(float value) { return ScaleToPixels(value, uiScale); }

}  // namespace mirvane::shell
