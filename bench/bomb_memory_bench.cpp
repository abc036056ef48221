// Measures what refusing each decompression bomb costs: the growth of the peak resident memory
// while DecodeImage turns it down, and the time, each the median of several runs in a fresh
// child process whose high-water mark is reset just before the decode. For scale, the same for
// the largest pictures the caps accept.
//   bench_bomb_memory [runs]
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "archive/image_data.h"
#include "bench_util.h"
#include "bomb_images.h"

namespace {

using mirvane::Bytes;

struct Measure {
    double peakGrowthMb = 0;
    double milliseconds = 0;
    bool refused = false;
};

// One field of /proc/self/status in kB ("VmHWM", "VmRSS").
long StatusKb(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field + ":", 0) == 0) {
            return std::atol(line.c_str() + field.size() + 1);
        }
    }
    return -1;
}

// In the child: the high-water mark is brought down to what is resident now, then the decode.
Measure DecodeOnce(const Bytes& file) {
    Bytes bytes = file;
    std::ofstream("/proc/self/clear_refs") << "5";
    const long before = StatusKb("VmHWM");
    const auto start = std::chrono::steady_clock::now();
    const bool refused = mirvane::DecodeImage(std::move(bytes)) == nullptr;
    const auto end = std::chrono::steady_clock::now();
    return {(StatusKb("VmHWM") - before) / 1024.0,
            std::chrono::duration<double, std::milli>(end - start).count(), refused};
}

// DecodeOnce in a fresh child, so that no run inherits another's freed but resident memory.
bool MeasureInChild(const Bytes& file, Measure* out) {
    int fds[2];
    if (::pipe(fds) != 0) {
        return false;
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        const Measure measure = DecodeOnce(file);
        const bool sent = ::write(fds[1], &measure, sizeof measure) == sizeof measure;
        ::_exit(sent ? 0 : 1);
    }
    ::close(fds[1]);
    const bool received = pid > 0 && ::read(fds[0], out, sizeof *out) == sizeof *out;
    ::close(fds[0]);
    int status = 0;
    return pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0 && received;
}

bool Report(const mirvane::testing::Bomb& bomb, int runs, bool expectRefusal) {
    std::vector<double> growth;
    std::vector<double> times;
    bool allAsExpected = true;
    for (int i = 0; i < runs; ++i) {
        Measure measure;
        if (!MeasureInChild(bomb.bytes, &measure)) {
            std::printf("%-40s the child failed\n", bomb.name.c_str());
            return false;
        }
        allAsExpected &= measure.refused == expectRefusal;
        growth.push_back(measure.peakGrowthMb);
        times.push_back(measure.milliseconds);
    }
    std::printf("%-40s %8.2f MiB  %-8s %8.1f MiB %9.1f ms\n", bomb.name.c_str(),
                bomb.bytes.size() / 1048576.0,
                allAsExpected ? (expectRefusal ? "refused" : "decoded") : "WRONG",
                mirvane::bench::Median(growth), mirvane::bench::Median(times));
    return allAsExpected;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = mirvane::bench::ParseBenchArguments(argc, argv, 5).runs;
    // Every decoder once in this process, so that no child pays for a first use.
    for (const Bytes& warm : {mirvane::testing::FlatJpeg(16, 16), mirvane::testing::FlatPng(16, 16),
                              mirvane::testing::FlatRleBmp(16, 16)}) {
        if (!mirvane::DecodeImage(warm)) {
            std::printf("a small valid picture failed to decode\n");
            return 1;
        }
    }
    std::printf("%-40s %12s  %-8s %12s %12s   (medians of %d runs)\n", "file", "size", "outcome",
                "peak growth", "time", runs);
    bool ok = true;
    for (const mirvane::testing::Bomb& bomb : mirvane::testing::AllBombs()) {
        ok &= Report(bomb, runs, true);
    }
    std::printf("for scale, the largest accepted pictures (8944 x 8944, 80 MP):\n");
    ok &= Report({"JPEG 8944 x 8944", mirvane::testing::FlatJpeg(8944, 8944)}, runs, false);
    ok &= Report({"PNG 8944 x 8944", mirvane::testing::FlatPng(8944, 8944)}, runs, false);
    ok &= Report({"PNG 8944 x 8944, 16-bit RGBA", mirvane::testing::FlatPng(8944, 8944, true)},
                 runs, false);
    ok &= Report({"BMP 8944 x 8944", mirvane::testing::FlatRleBmp(8944, 8944)}, runs, false);
    ok &= Report({"progressive JPEG 8944 x 8944, 500 scans",
                  mirvane::testing::ManyScanJpeg(8944, 8944, 499)},
                 runs, false);
    return ok ? 0 : 1;
}
