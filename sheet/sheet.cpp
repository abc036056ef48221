#include "sheet/sheet.h"

#include <algorithm>

namespace mirvane {

void SortFramesByYear(std::vector<Frame>& frames) {
    std::stable_sort(frames.begin(), frames.end(),
                     [](const Frame& a, const Frame& b) { return a.year < b.year; });
}

}  // namespace mirvane
