// Caps on any photograph read from outside, checked before memory is allocated for it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace mirvane {

inline constexpr std::size_t kMaxPhotoBytes = 41'943'040;  // 40 MiB encoded
inline constexpr int kMaxPhotoSide = 24'000;
inline constexpr std::int64_t kMaxPhotoPixels = 80'000'000;

// True for a picture of at least one pixel within the side and pixel caps.
constexpr bool WithinPixelCaps(int width, int height) {
    return width > 0 && height > 0 && width <= kMaxPhotoSide && height <= kMaxPhotoSide &&
           std::int64_t{width} * height <= kMaxPhotoPixels;
}

}  // namespace mirvane
