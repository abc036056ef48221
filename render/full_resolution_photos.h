// The photographs of a full-resolution render, decoded afresh from the frames' bytes on two
// threads, each handed to the drawing thread as soon as it is ready.
#pragma once

#include <QSize>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "archive/image_data.h"
#include "platform/threads.h"
#include "sheet/frame.h"

namespace mirvane {

class FullResolutionPhotos {
  public:
    // The device pixels frame `index` covers when drawn, given its upright size. Called on the
    // decoding threads.
    using SizeNeededFor = std::function<QSize(std::size_t index, QSize upright)>;

    struct Ready {
        std::size_t index = 0;
        std::shared_ptr<ImageData> photo;  // nothing when the bytes did not decode
    };

    // Starts decoding at once on up to two threads, the largest files first, so that the longest
    // decodes do not come last. A thread that cannot start leaves its share to the other; with
    // none, TakeNext decodes each photograph itself. Reads only the frames' bytes; `frames` must
    // outlive this object.
    FullResolutionPhotos(const std::vector<Frame>& frames, SizeNeededFor needed,
                         const platform::ThreadStarter& start = platform::StartThread);
    // Starts no further decode and waits for those running.
    ~FullResolutionPhotos();
    FullResolutionPhotos(const FullResolutionPhotos&) = delete;
    FullResolutionPhotos& operator=(const FullResolutionPhotos&) = delete;

    // The next photograph to be ready, whichever frame it belongs to, already resampled to the
    // size needed when it was larger (see ShrinkForDrawing). Called once per frame from one
    // thread; taking the next one declares the previous one released, so at most two decoded
    // photographs (decoding, waiting or being drawn) exist at any time.
    Ready TakeNext();

  private:
    void Decode();
    Ready DecodeOne(std::size_t index) const noexcept;

    const std::vector<Frame>& frames_;
    const SizeNeededFor needed_;
    std::vector<std::size_t> order_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t started_ = 0;  // of order_
    std::size_t taken_ = 0;
    bool holding_ = false;  // the caller has the photograph taken last
    int alive_ = 0;
    bool stopping_ = false;
    // Room for every frame is made before any thread starts, so that handing a photograph over
    // never allocates on a decoding thread.
    std::vector<Ready> ready_;
    std::size_t handedOut_ = 0;  // of ready_
    // Last, so that the threads end before the members they use.
    std::vector<std::jthread> threads_;
};

}  // namespace mirvane
