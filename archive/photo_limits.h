// Caps on any photograph read from outside, checked before memory is allocated for it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace mirvane {

inline constexpr std::size_t kMaxPhotoBytes = 41'943'040;  // 40 MiB encoded
inline constexpr int kMaxPhotoSide = 24'000;
inline constexpr std::int64_t kMaxPhotoPixels = 80'000'000;

}  // namespace mirvane
