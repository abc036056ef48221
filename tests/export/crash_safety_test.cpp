// An export killed with SIGKILL at random points, many times over: the final name is either
// absent or holds the complete PNG, and no other file in the folder changes. A ".tmp" file may
// stay behind, as it may after a power loss.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <spng.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QImage>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "export/png_encoder.h"
#include "folder_state.h"
#include "scratch_folder.h"

extern char** environ;

namespace mirvane {
namespace {

using testing::Differences;
using testing::FolderState;
using testing::StateOf;

constexpr int kRuns = 50;

// A sheet-sized picture with noise in every pixel, so that its PNG is megabytes long and takes
// a while to write and flush.
Bytes PayloadPng() {
    QImage image(2400, 1600, QImage::Format_RGB32);
    std::minstd_rand noise(7);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int n = static_cast<int>(noise() % 64);
            line[x] = qRgb((x / 10 + n) & 0xff, (y / 7 + n) & 0xff, (x + y + n) & 0xff);
        }
    }
    return EncodePng(image);
}

// libspng reads the whole file strictly: every checksum, the zlib stream, every row.
bool DecodesCompletely(const std::string& png) {
    struct Free {
        void operator()(spng_ctx* context) const { spng_ctx_free(context); }
    };
    std::unique_ptr<spng_ctx, Free> context(spng_ctx_new(0));
    std::size_t size = 0;
    if (!context || spng_set_png_buffer(context.get(), png.data(), png.size()) != 0 ||
        spng_decoded_image_size(context.get(), SPNG_FMT_RGBA8, &size) != 0) {
        return false;
    }
    std::vector<std::uint8_t> pixels(size);
    return spng_decode_image(context.get(), pixels.data(), size, SPNG_FMT_RGBA8, 0) == 0;
}

// The child writing one export, with its standard output on a pipe.
class Child {
  public:
    Child(const std::string& payload, const std::string& target) {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        const char* argv[] = {MIRVANE_CRASH_CHILD, payload.c_str(), target.c_str(), nullptr};
        if (posix_spawn(&pid_, MIRVANE_CRASH_CHILD, &actions, nullptr,
                        const_cast<char* const*>(argv), environ) != 0) {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        ::close(fds[1]);
        output_ = fds[0];
    }
    ~Child() {
        Kill();
        ::close(output_);
    }

    // Waits for the line "ready"; false when the child ends or stays silent for half a minute.
    bool WaitUntilReady() {
        std::string line;
        char c = 0;
        pollfd poller{output_, POLLIN, 0};
        while (pid_ > 0 && ::poll(&poller, 1, 30'000) == 1 && ::read(output_, &c, 1) == 1) {
            if (c == '\n') {
                return line == "ready";
            }
            line += c;
        }
        return false;
    }

    // SIGKILL, then the child's end; true when it had already finished its write by itself.
    bool Kill() {
        if (pid_ <= 0) {
            return false;
        }
        ::kill(pid_, SIGKILL);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    void Wait() {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
    }

  private:
    pid_t pid_ = -1;
    int output_ = -1;
};

TEST(CrashSafety, SigkillAtRandomPointsNeverLeavesAPartialPng) {
    testing::ScratchFolder scratch;
    testing::ScratchFolder exports;
    const Bytes png = PayloadPng();
    const std::string expected(png.begin(), png.end());
    ASSERT_TRUE(DecodesCompletely(expected));
    const std::string payload = (scratch / "payload.png").string();
    testing::WriteFile(payload, expected);

    // How long a whole write takes from "ready", so that the kills spread over all of it.
    std::vector<double> seconds;
    for (int i = 0; i < 3; ++i) {
        Child child(payload, (scratch / ("calibration-" + std::to_string(i) + ".png")).string());
        ASSERT_TRUE(child.WaitUntilReady());
        const auto start = std::chrono::steady_clock::now();
        child.Wait();
        seconds.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(seconds.begin(), seconds.end());
    const double window = seconds[1] * 1.25;

    testing::WriteFile(exports / "sheet-earlier.png", expected);
    testing::WriteFile(exports / "sheet-earlier-crash.png.tmp", expected.substr(0, 1000));
    testing::WriteFile(exports / "notes.txt", "kept");
    std::mt19937 random(20240131);
    std::uniform_real_distribution<double> delay(0.0, window);
    int complete = 0;
    int absent = 0;
    int temporaryLeft = 0;
    const FolderState before = StateOf(exports.Path());
    for (int run = 0; run < kRuns; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        char name[32];
        std::snprintf(name, sizeof name, "sheet-%03d.png", run);
        const std::string temporary = std::string(name) + ".tmp";
        {
            Child child(payload, (exports / name).string());
            ASSERT_TRUE(child.WaitUntilReady());
            std::this_thread::sleep_for(std::chrono::duration<double>(delay(random)));
            child.Kill();
        }
        const FolderState after = StateOf(exports.Path());
        for (const std::string& difference : Differences(before, after)) {
            EXPECT_TRUE(difference == std::string("+").append(name) ||
                        difference == std::string("+").append(temporary))
                << difference;
        }
        if (after.contains(name)) {
            EXPECT_EQ(after.at(name).size(), expected.size());
            EXPECT_TRUE(after.at(name) == expected) << "a partial or wrong file under " << name;
            EXPECT_FALSE(after.contains(temporary));
            ++complete;
        } else {
            ++absent;
        }
        temporaryLeft += after.contains(temporary) ? 1 : 0;
        // Checked, the run's own files go, so that every run reads only the lasting ones.
        std::filesystem::remove(exports / name);
        std::filesystem::remove(exports / temporary);
    }
    EXPECT_TRUE(DecodesCompletely(testing::Content(exports / "sheet-earlier.png")));
    std::printf(
        "%d SIGKILLs within %.0f ms of the write's start (a %.1f MB PNG): %d complete, "
        "%d absent (%d of them with the .tmp left), 0 partial\n",
        kRuns, window * 1000, expected.size() / 1e6, complete, absent, temporaryLeft);
}

}  // namespace
}  // namespace mirvane
