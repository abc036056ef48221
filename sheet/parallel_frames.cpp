#include "sheet/parallel_frames.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <thread>

#include "archive/frame_preparation.h"

namespace mirvane {

std::optional<std::vector<Frame>> PrepareFrames(std::vector<PendingFrame> pending) {
    std::vector<std::optional<Frame>> made(pending.size());
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    std::vector<std::exception_ptr> errors(pending.size());

    auto work = [&] {
        for (std::size_t i = next++; i < pending.size() && !failed; i = next++) {
            try {
                made[i] = PrepareFrame(std::move(pending[i].bytes), pending[i].year);
            } catch (...) {
                errors[i] = std::current_exception();
            }
            if (!made[i]) {
                failed = true;
            }
        }
    };
    const std::size_t workers =
        std::min<std::size_t>(pending.size(), std::max(1u, std::thread::hardware_concurrency()));
    {
        std::vector<std::jthread> helpers;
        for (std::size_t w = 1; w < workers; ++w) {
            helpers.emplace_back(work);
        }
        work();
    }  // joins the helpers
    for (const std::exception_ptr& error : errors) {
        if (error) {
            std::rethrow_exception(error);
        }
    }
    if (failed) {
        return std::nullopt;
    }
    std::vector<Frame> frames;
    frames.reserve(made.size());
    for (std::optional<Frame>& frame : made) {
        frames.push_back(std::move(*frame));
    }
    return frames;
}

}  // namespace mirvane
