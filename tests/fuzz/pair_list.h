// How one fuzz input holds several pair files: their bytes one after another, with this
// separator between them. An input without it is a single pair file.
#pragma once

#include <string_view>

namespace mirvane::fuzz {

inline constexpr std::string_view kPairFileSeparator = "QMP-NEXT";

}  // namespace mirvane::fuzz
