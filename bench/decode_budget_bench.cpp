// Measures the peak memory of making the frames of six 80-megapixel PNGs, as composition and
// the pair import do, with the decoding threads forced to 2, 4 and 8: under the decode budget,
// and, for comparison, with no budget (one decode per thread, as before there was one). Each
// figure is the median growth of the peak resident memory over several runs, each in a fresh
// child process.
//   bench_decode_budget [runs]
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "bench_util.h"
#include "bomb_images.h"
#include "sheet/parallel_frames.h"

namespace {

using mirvane::Bytes;

long PeakKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::atol(line.c_str() + 6);
        }
    }
    return -1;
}

// In a fresh child: the peak growth in MiB while the frames are made, or a negative number when
// they were not.
double GrowthInChild(const std::vector<Bytes>& photos, std::size_t threads, std::uint64_t budget) {
    int fds[2];
    if (::pipe(fds) != 0) {
        return -1;
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        std::vector<mirvane::PendingFrame> pending;
        for (std::size_t i = 0; i < photos.size(); ++i) {
            pending.push_back({photos[i], std::int32_t(2000 + i)});
        }
        std::ofstream("/proc/self/clear_refs") << "5";
        const long before = PeakKb();
        const bool made = mirvane::PrepareFrames(std::move(pending),
                                                 {threads, budget, mirvane::platform::StartThread})
                              .has_value();
        const double growth = made ? (PeakKb() - before) / 1024.0 : -1;
        const bool sent = ::write(fds[1], &growth, sizeof growth) == sizeof growth;
        ::_exit(sent ? 0 : 1);
    }
    ::close(fds[1]);
    double growth = -1;
    const bool received = pid > 0 && ::read(fds[0], &growth, sizeof growth) == sizeof growth;
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return received ? growth : -1;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = mirvane::bench::ParseBenchArguments(argc, argv, 3).runs;
    // 8944 x 8944: the largest square the pixel cap accepts, 305 MiB decoded.
    std::vector<Bytes> photos(6, mirvane::testing::FlatPng(8944, 8944));
    std::printf("six 8944 x 8944 PNGs, peak growth in MiB, median of %d runs\n", runs);
    std::printf("%-8s %14s %14s\n", "threads", "with budget", "no budget");
    bool ok = true;
    for (std::size_t threads : {2, 4, 8}) {
        std::vector<double> budgeted;
        std::vector<double> unbounded;
        for (int i = 0; i < runs; ++i) {
            budgeted.push_back(GrowthInChild(photos, threads, mirvane::kFrameDecodeBudget));
            unbounded.push_back(
                GrowthInChild(photos, threads, std::numeric_limits<std::uint64_t>::max()));
        }
        const double a = mirvane::bench::Median(budgeted);
        const double b = mirvane::bench::Median(unbounded);
        ok = ok && a >= 0 && b >= 0;
        std::printf("%-8zu %14.0f %14.0f\n", threads, a, b);
    }
    return ok ? 0 : 1;
}
