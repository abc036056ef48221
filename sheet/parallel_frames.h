// Makes the frames of one sheet on a few threads; used by composition and by the pair import.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <thread>
#include <vector>

#include "archive/bytes.h"
#include "archive/photo_limits.h"
#include "sheet/budgeted_work.h"
#include "sheet/frame.h"

namespace mirvane {

struct PendingFrame {
    Bytes bytes;
    std::int32_t year = 0;
};

// The decoded pixels that may exist at once while frames are made: two of the largest
// photographs the caps allow. Memory follows this, never the number of cores, so a hostile file
// costs no more on a bigger machine.
inline constexpr std::uint64_t kFrameDecodeBudget = 2 * 4 * std::uint64_t{kMaxPhotoPixels};

inline WorkLimits FrameDecodeLimits() {
    return {std::max(1u, std::thread::hardware_concurrency()), kFrameDecodeBudget,
            platform::StartThread};
}

// PrepareFrame for every pending photograph; the frames in the order given, or nothing when
// any one fails, runs out of memory, or the frames cannot be kept. Decodes run at once only
// while their pixels, read from the headers first, fit in the limits' budget; once one fails,
// no further decode starts.
std::optional<std::vector<Frame>> PrepareFrames(std::vector<PendingFrame> pending,
                                                const WorkLimits& limits = FrameDecodeLimits());

}  // namespace mirvane
