// Encoded photographs travel as owned, growable byte arrays and are moved, not copied.
#pragma once

#include <cstdint>
#include <vector>

namespace mirvane {

using Bytes = std::vector<std::uint8_t>;

}  // namespace mirvane
