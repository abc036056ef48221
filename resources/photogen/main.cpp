// mirvane-photogen OUTDIR DIGESTS_FILE
//
// Draws the archive's photographs into OUTDIR as photo_<id>.jpg and writes DIGESTS_FILE, one
// quoted SHA-256 per line in catalog order, for inclusion in an array initializer. The output
// depends on nothing but this program's sources, so every build draws the same bytes.
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <mutex>
#include <numeric>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "archive_photo.h"
#include "atomic_file.h"
#include "jpeg_writer.h"
#include "photo_plan.h"

namespace {

using mirvane::photogen::PhotoPlan;

constexpr int kWorkers = 2;

void WriteDigests(const std::filesystem::path& path, const std::vector<std::string>& digests) {
    std::string text;
    for (const std::string& digest : digests) {
        text += "\"" + digest + "\",\n";
    }
    mirvane::photogen::WriteFileAtomically(
        path, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

void Run(const std::filesystem::path& out_dir, const std::filesystem::path& digests_path) {
    mirvane::photogen::PinEncoderBehaviour();
    std::filesystem::create_directories(out_dir);
    if (digests_path.has_parent_path()) {
        std::filesystem::create_directories(digests_path.parent_path());
    }
    const std::vector<PhotoPlan> plans = mirvane::photogen::PlanArchive();

    // Largest first, so that no worker is left drawing a big photograph alone at the end.
    std::vector<std::size_t> order(plans.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return static_cast<long>(plans[a].width) * plans[a].height >
               static_cast<long>(plans[b].width) * plans[b].height;
    });

    std::vector<std::string> digests(plans.size());
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    std::mutex error_mutex;
    std::string error;
    auto work = [&] {
        mirvane::photogen::Raster scratch;
        while (!failed) {
            const std::size_t k = next.fetch_add(1);
            if (k >= order.size()) {
                return;
            }
            const PhotoPlan& plan = plans[order[k]];
            try {
                digests[plan.row] = mirvane::photogen::WriteArchivePhoto(plan, out_dir, scratch);
            } catch (const std::exception& e) {
                const std::lock_guard lock(error_mutex);
                if (!failed.exchange(true)) {
                    error = "photo " + std::to_string(plan.id) + ": " + e.what();
                }
            }
        }
    };
    std::vector<std::thread> workers;
    for (int i = 0; i < kWorkers; ++i) {
        workers.emplace_back(work);
    }
    for (std::thread& worker : workers) {
        worker.join();
    }
    if (failed) {
        throw std::runtime_error(error);
    }
    WriteDigests(digests_path, digests);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: mirvane-photogen OUTDIR DIGESTS_FILE\n");
        return 2;
    }
    try {
        Run(argv[1], argv[2]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "mirvane-photogen: %s\n", e.what());
        return 1;
    }
    return 0;
}
