#include "sheet/parallel_frames.h"

#include "archive/frame_preparation.h"
#include "archive/image_data.h"

namespace mirvane {

std::optional<std::vector<Frame>> PrepareFrames(std::vector<PendingFrame> pending,
                                                const WorkLimits& limits) {
    try {
        std::vector<std::uint64_t> costs;
        costs.reserve(pending.size());
        for (const PendingFrame& frame : pending) {
            costs.push_back(DecodedPixelBytes(frame.bytes, PreviewSize));
        }
        std::vector<std::optional<Frame>> made(pending.size());
        const bool done = RunWithinBudget(costs, limits, [&](std::size_t i) {
            made[i] = PrepareFrame(std::move(pending[i].bytes), pending[i].year);
            return made[i].has_value();
        });
        if (!done) {
            return std::nullopt;
        }
        std::vector<Frame> frames;
        frames.reserve(made.size());
        for (std::optional<Frame>& frame : made) {
            frames.push_back(std::move(*frame));
        }
        return frames;
    } catch (const std::bad_alloc&) {
        return std::nullopt;  // no room for the frames themselves: the sheet cannot be made
    }
}

}  // namespace mirvane
