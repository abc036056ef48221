#include "render/full_resolution_photos.h"

#include <algorithm>
#include <numeric>

#include "render/graphics.h"

namespace mirvane {
namespace {

constexpr int kMaxAlivePhotos = 2;
constexpr int kDecodingThreads = 2;

// Decodes at no more than the size needed and resamples to it, as drawing would, so that the
// drawing thread only copies pixels.
std::shared_ptr<ImageData> DecodeForDrawing(const std::shared_ptr<const Bytes>& bytes,
                                            const SizeNeeded& needed) {
    if (!bytes) {
        return nullptr;
    }
    try {
        // The decoder takes its bytes; the frame's own stay untouched for the next export.
        std::shared_ptr<ImageData> photo = DecodeImage(Bytes(*bytes), needed);
        if (!photo || imaging::ShrinkForDrawing(photo->bitmap.Image(),
                                                needed(QSize(photo->width, photo->height))) !=
                          imaging::Status::Ok) {
            return nullptr;
        }
        Bytes().swap(photo->bytes);  // the copy has served; keep only pixels alive
        return photo;
    } catch (const std::bad_alloc&) {
        return nullptr;  // a photograph too large for the memory left fails like a bad one
    }
}

std::size_t EncodedSize(const Frame& frame) {
    return frame.encodedBytes ? frame.encodedBytes->size() : 0;
}

}  // namespace

FullResolutionPhotos::FullResolutionPhotos(const std::vector<Frame>& frames, SizeNeededFor needed,
                                           const platform::ThreadStarter& start)
    : frames_(frames), needed_(std::move(needed)), order_(frames.size()) {
    // Decoding time follows the file's size; the longest first keeps both threads busy to the
    // end. Frames never overlap, so the order they are drawn in changes no pixel.
    std::iota(order_.begin(), order_.end(), std::size_t{0});
    std::stable_sort(order_.begin(), order_.end(), [&](std::size_t a, std::size_t b) {
        return EncodedSize(frames_[a]) > EncodedSize(frames_[b]);
    });
    ready_.reserve(frames.size());
    threads_.reserve(kDecodingThreads);
    const std::size_t threads = std::min<std::size_t>(kDecodingThreads, frames.size());
    for (std::size_t i = 0; i < threads; ++i) {
        std::jthread thread = start([this] { Decode(); });
        if (!thread.joinable()) {
            break;
        }
        threads_.push_back(std::move(thread));
    }
}

FullResolutionPhotos::~FullResolutionPhotos() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
}

FullResolutionPhotos::Ready FullResolutionPhotos::DecodeOne(std::size_t index) const noexcept {
    Ready ready{index, nullptr};
    try {
        ready.photo = DecodeForDrawing(frames_[index].encodedBytes,
                                       [&](QSize upright) { return needed_(index, upright); });
    } catch (...) {
        // Nothing may escape a thread; the frame fails like an undecodable one.
    }
    return ready;
}

void FullResolutionPhotos::Decode() {
    for (;;) {
        std::size_t index = 0;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] {
                return stopping_ || started_ == order_.size() || alive_ < kMaxAlivePhotos;
            });
            if (stopping_ || started_ == order_.size()) {
                return;
            }
            index = order_[started_++];
            ++alive_;
        }
        Ready ready = DecodeOne(index);
        {
            const std::lock_guard lock(mutex_);
            ready_.push_back(std::move(ready));  // within the room reserved: cannot throw
        }
        changed_.notify_all();
    }
}

FullResolutionPhotos::Ready FullResolutionPhotos::TakeNext() {
    std::unique_lock lock(mutex_);
    if (holding_) {
        holding_ = false;
        --alive_;  // the photograph taken last time is released
        changed_.notify_all();
    }
    if (taken_ == frames_.size()) {
        return Ready{frames_.size(), nullptr};
    }
    ++taken_;
    holding_ = true;
    if (threads_.empty()) {
        // No decoding thread could be started: this thread decodes, one photograph at a time.
        const std::size_t index = order_[started_++];
        lock.unlock();
        return DecodeOne(index);
    }
    changed_.wait(lock, [&] { return handedOut_ < ready_.size(); });
    return std::move(ready_[handedOut_++]);
}

}  // namespace mirvane
