// The colours the sheet, the window and its buttons share, as ARGB.
#pragma once

#include <QRgb>

namespace mirvane::palette {

inline constexpr QRgb kPaper = 0xfff7f3eb;
inline constexpr QRgb kInk = 0xff412b3d;
inline constexpr QRgb kBody = 0xff302a2f;
inline constexpr QRgb kAccent = 0xffaf5939;
inline constexpr QRgb kMuted = 0xff776a74;

}  // namespace mirvane::palette
