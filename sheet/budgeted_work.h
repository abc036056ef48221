// Runs a list of jobs on a few threads, with as many at once as their memory allows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

#include "platform/threads.h"

namespace mirvane {

struct WorkLimits {
    std::size_t threads = 1;   // the caller's thread included
    std::uint64_t budget = 0;  // bytes that the jobs running at once may need together
    platform::ThreadStarter start = platform::StartThread;
};

// Calls `job(i)` once for each i in order of i, on the caller's thread and up to
// `limits.threads - 1` helpers. A job starts only while its cost and those of the jobs running
// fit in the budget; a job that alone exceeds it runs alone. Once a job returns false no further
// job starts, and the result is false. A job that throws counts as one that failed. A helper
// that cannot start leaves its share to the others; all helpers are joined before returning.
bool RunWithinBudget(std::span<const std::uint64_t> costs, const WorkLimits& limits,
                     const std::function<bool(std::size_t)>& job) noexcept;

}  // namespace mirvane
