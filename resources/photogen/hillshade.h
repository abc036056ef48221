// Brightness of a slope lit by a low sun from the north-west, relative to flat ground.
// North-west light makes relief read as raised rather than sunken on screen.
#pragma once

#include <cmath>

namespace mirvane::photogen {

// `slope_x`, `slope_y`: rise per unit run, east and south.
inline float Hillshade(float slope_x, float slope_y) {
    constexpr float kLight = 0.5f;       // horizontal components, towards the north-west
    constexpr float kLightUp = 0.7071f;  // vertical component
    const float lit = kLight * slope_x + kLight * slope_y + kLightUp;
    const float shade = lit / (kLightUp * std::sqrt(1.0f + slope_x * slope_x + slope_y * slope_y));
    // Bounded both ways: deep shadow keeps some skylight, and no slope glares.
    return shade < 0.15f ? 0.15f : (shade > 1.3f ? 1.3f : shade);
}

}  // namespace mirvane::photogen
