#include "sheet/budgeted_work.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <new>
#include <stdexcept>
#include <vector>

#include "sheet/parallel_frames.h"
#include "support/test_images.h"

namespace mirvane {
namespace {

// Records what ran and the most cost that was ever running at once.
struct Recorder {
    std::mutex mutex;
    std::vector<std::size_t> ran;
    std::uint64_t running = 0;
    std::uint64_t peak = 0;
    bool oversizedShared = false;

    bool Run(std::span<const std::uint64_t> costs, std::uint64_t budget, std::size_t i) {
        {
            const std::lock_guard lock(mutex);
            ran.push_back(i);
            running += costs[i];
            peak = std::max(peak, running);
            oversizedShared = oversizedShared || (running > budget && running != costs[i]);
        }
        // Long enough for the other threads to start what the budget lets them.
        std::this_thread::sleep_for(std::chrono::milliseconds(3));
        const std::lock_guard lock(mutex);
        running -= costs[i];
        return true;
    }
};

TEST(RunWithinBudget, NeverRunsMoreAtOnceThanTheBudgetHolds) {
    struct Case {
        std::vector<std::uint64_t> costs;
        std::uint64_t budget;
        std::size_t threads;
    };
    const Case cases[] = {
        {{4, 4, 4, 4, 4, 4}, 8, 6},                        // two at a time however many threads
        {{4, 4, 4, 4, 4, 4}, 8, 2}, {{3, 9, 3, 3}, 8, 4},  // the one above the budget runs alone
        {{1, 1, 1, 1}, 100, 8},     {{0, 0, 0}, 0, 3},
    };
    for (const Case& c : cases) {
        Recorder recorder;
        const WorkLimits limits{c.threads, c.budget, platform::StartThread};
        EXPECT_TRUE(RunWithinBudget(
            c.costs, limits, [&](std::size_t i) { return recorder.Run(c.costs, c.budget, i); }));
        EXPECT_EQ(recorder.ran.size(), c.costs.size());
        EXPECT_FALSE(recorder.oversizedShared);
        const std::uint64_t largest = *std::max_element(c.costs.begin(), c.costs.end());
        EXPECT_LE(recorder.peak, std::max(c.budget, largest));
    }
}

TEST(RunWithinBudget, StopsStartingJobsAfterOneFailsOrThrows) {
    const std::vector<std::uint64_t> costs(6, 1);
    const WorkLimits one{1, 10, platform::StartThread};
    for (int fault = 0; fault < 3; ++fault) {
        std::vector<std::size_t> ran;
        EXPECT_FALSE(RunWithinBudget(costs, one, [&](std::size_t i) -> bool {
            ran.push_back(i);
            if (i == 2 && fault == 1) {
                throw std::bad_alloc();
            }
            if (i == 2 && fault == 2) {
                throw std::runtime_error("anything else");
            }
            return i != 2;
        })) << fault;
        EXPECT_EQ(ran, (std::vector<std::size_t>{0, 1, 2})) << fault;
    }
}

// Each helper start refused in turn, and all of them: the jobs still all run, on fewer threads.
TEST(RunWithinBudget, GoesOnWithFewerThreadsWhenHelpersCannotStart) {
    const std::vector<std::uint64_t> costs(5, 1);
    for (std::size_t refuse = 0; refuse <= 4; ++refuse) {
        std::size_t starts = 0;
        const WorkLimits limits{5, 10, [&](std::function<void()> body) {
                                    return ++starts == refuse || refuse == 4
                                               ? std::jthread()
                                               : platform::StartThread(std::move(body));
                                }};
        std::mutex mutex;
        std::vector<int> runs(costs.size());
        EXPECT_TRUE(RunWithinBudget(costs, limits, [&](std::size_t i) {
            const std::lock_guard lock(mutex);
            return ++runs[i] == 1;
        }));
        EXPECT_EQ(runs, std::vector<int>(costs.size(), 1)) << "refusing start " << refuse;
    }
}

// The frames of 2 to 6 photographs, with each helper thread's start refused in turn, are those
// made with every thread.
TEST(PrepareFrames, SameFramesWhicheverHelperCannotStart) {
    for (std::size_t count = 2; count <= 6; ++count) {
        std::vector<Bytes> photos;
        for (std::size_t i = 0; i < count; ++i) {
            photos.push_back(testing::FlatGreyJpeg(200 + 40 * int(i), 100, std::uint8_t(30 * i)));
        }
        for (std::size_t refuse = 0; refuse < count; ++refuse) {
            std::vector<PendingFrame> pending;
            for (std::size_t i = 0; i < count; ++i) {
                pending.push_back({photos[i], std::int32_t(2000 + i)});
            }
            std::size_t starts = 0;
            const WorkLimits limits{count, kFrameDecodeBudget, [&](std::function<void()> body) {
                                        return ++starts == refuse
                                                   ? std::jthread()
                                                   : platform::StartThread(std::move(body));
                                    }};
            const std::optional<std::vector<Frame>> frames =
                PrepareFrames(std::move(pending), limits);
            ASSERT_TRUE(frames) << count << " frames, start " << refuse << " refused";
            ASSERT_EQ(frames->size(), count);
            for (std::size_t i = 0; i < count; ++i) {
                EXPECT_EQ((*frames)[i].year, std::int32_t(2000 + i));
                EXPECT_EQ(*(*frames)[i].encodedBytes, photos[i]);
                EXPECT_EQ((*frames)[i].preview->Size(), QSize(200 + 40 * int(i), 100));
            }
        }
    }
}

}  // namespace
}  // namespace mirvane
