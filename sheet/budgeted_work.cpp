#include "sheet/budgeted_work.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace mirvane {

bool RunWithinBudget(std::span<const std::uint64_t> costs, const WorkLimits& limits,
                     const std::function<bool(std::size_t)>& job) noexcept {
    std::mutex mutex;
    std::condition_variable changed;
    std::size_t next = 0;
    std::uint64_t inUse = 0;
    bool failed = false;

    const auto work = [&]() noexcept {
        for (;;) {
            std::size_t index = 0;
            {
                std::unique_lock lock(mutex);
                // Jobs start in order; the next one waits until it fits beside those running.
                changed.wait(lock, [&] {
                    return failed || next == costs.size() || inUse == 0 ||
                           costs[next] <= limits.budget - std::min(inUse, limits.budget);
                });
                if (failed || next == costs.size()) {
                    return;
                }
                index = next++;
                inUse += costs[index];
            }
            bool done = false;
            try {
                done = job(index);
            } catch (...) {
                done = false;  // out of memory, or anything else: the job failed
            }
            {
                const std::lock_guard lock(mutex);
                inUse -= costs[index];
                failed = failed || !done;
            }
            changed.notify_all();
        }
    };

    const std::size_t wanted = std::min(limits.threads, costs.size());
    std::vector<std::jthread> helpers;
    try {
        helpers.reserve(wanted > 1 ? wanted - 1 : 0);
        while (helpers.size() + 1 < wanted) {
            std::jthread helper = limits.start ? limits.start(work) : platform::StartThread(work);
            if (!helper.joinable()) {
                break;  // the system has no thread to give: the threads running do the rest
            }
            helpers.push_back(std::move(helper));
        }
    } catch (...) {
        // No memory to start another helper with: those running, and this thread, do the rest.
    }
    work();
    helpers.clear();  // joins them
    return !failed && next == costs.size();
}

}  // namespace mirvane
