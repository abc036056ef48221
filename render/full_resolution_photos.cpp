#include "render/full_resolution_photos.h"

#include <algorithm>

#include "render/graphics.h"

namespace mirvane {
namespace {

constexpr std::size_t kDecodingThreads = 2;

// Decodes at no more than the size needed and resamples to it, as drawing would, so that the
// drawing thread only copies pixels.
std::shared_ptr<ImageData> DecodeForDrawing(const std::shared_ptr<const Bytes>& bytes,
                                            const SizeNeeded& needed) {
    if (!bytes) {
        return nullptr;
    }
    try {
        // Read where they are: the frame's bytes stay untouched for the next export.
        std::shared_ptr<ImageData> photo = DecodePixels(*bytes, needed);
        if (!photo || imaging::ShrinkForDrawing(photo->bitmap.Image(),
                                                needed(QSize(photo->width, photo->height))) !=
                          imaging::Status::Ok) {
            return nullptr;
        }
        return photo;
    } catch (const std::bad_alloc&) {
        return nullptr;  // a photograph too large for the memory left fails like a bad one
    }
}

}  // namespace

FullResolutionPhotos::FullResolutionPhotos(const std::vector<Frame>& frames, SizeNeededFor needed,
                                           std::size_t maxAlive,
                                           const platform::ThreadStarter& start)
    : frames_(frames),
      needed_(std::move(needed)),
      maxAlive_(std::max<std::size_t>(maxAlive, 1)),
      states_(frames.size(), State::Waiting),
      photos_(frames.size()) {
    threads_.reserve(kDecodingThreads);
    const std::size_t threads = std::min({kDecodingThreads, frames.size(), maxAlive_});
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

std::shared_ptr<ImageData> FullResolutionPhotos::DecodeOne(std::size_t index) const noexcept {
    try {
        return DecodeForDrawing(frames_[index].encodedBytes,
                                [&](QSize upright) { return needed_(index, upright); });
    } catch (...) {
        return nullptr;  // nothing may escape a thread; the frame fails like an undecodable one
    }
}

void FullResolutionPhotos::Decode() {
    for (;;) {
        std::size_t index = 0;
        {
            std::unique_lock lock(mutex_);
            const auto skipTaken = [&] {
                while (started_ < frames_.size() && states_[started_] != State::Waiting) {
                    ++started_;  // the drawing thread decoded it itself
                }
                return started_ == frames_.size();
            };
            changed_.wait(lock, [&] { return stopping_ || skipTaken() || alive_ < maxAlive_; });
            if (stopping_ || skipTaken()) {
                return;
            }
            index = started_++;
            states_[index] = State::Decoding;
            ++alive_;
        }
        std::shared_ptr<ImageData> photo = DecodeOne(index);
        {
            const std::lock_guard lock(mutex_);
            photos_[index] = std::move(photo);
            states_[index] = State::Ready;
        }
        changed_.notify_all();
    }
}

const ImageData* FullResolutionPhotos::Get(std::size_t index) {
    std::unique_lock lock(mutex_);
    if (index >= frames_.size() || states_[index] == State::Released) {
        return nullptr;
    }
    if (states_[index] == State::Waiting && (threads_.empty() || alive_ >= maxAlive_)) {
        // No decoding thread could be started, or none may start this one before the drawing
        // thread releases others: this thread decodes it rather than wait for ever.
        states_[index] = State::Decoding;
        ++alive_;
        lock.unlock();
        std::shared_ptr<ImageData> photo = DecodeOne(index);
        lock.lock();
        photos_[index] = std::move(photo);
        states_[index] = State::Ready;
    }
    changed_.wait(lock, [&] { return states_[index] == State::Ready; });
    return photos_[index].get();
}

void FullResolutionPhotos::Release(std::size_t index) {
    std::shared_ptr<ImageData> released;  // freed outside the lock
    {
        const std::lock_guard lock(mutex_);
        if (index >= frames_.size() || states_[index] != State::Ready) {
            return;
        }
        released = std::move(photos_[index]);
        states_[index] = State::Released;
        --alive_;
    }
    changed_.notify_all();
}

}  // namespace mirvane
