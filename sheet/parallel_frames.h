// Makes the frames of one sheet on both cores; used by composition and by the pair import.
#pragma once

#include <optional>
#include <vector>

#include "archive/bytes.h"
#include "sheet/frame.h"

namespace mirvane {

struct PendingFrame {
    Bytes bytes;
    std::int32_t year = 0;
};

// PrepareFrame for every pending photograph; the frames in the order given, or nothing when
// any one fails. At most one decode per core at a time, so memory stays bounded; once one
// fails, no further decode starts. An exception (out of memory) reaches the caller's thread.
std::optional<std::vector<Frame>> PrepareFrames(std::vector<PendingFrame> pending);

}  // namespace mirvane
