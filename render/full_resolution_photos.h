// The photographs of a full-resolution render, decoded afresh from the frames' bytes on two
// threads in the order of the frames, ahead of the drawing thread, and kept until it releases
// them: a sheet drawn in bands needs each photograph for every band that shows it.
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

    // Starts decoding at once on up to two threads. At most `maxAlive` photographs (decoding,
    // ready or in use) exist at any time; two decode at once at most, each within the decoder's
    // own caps. A thread that cannot start leaves its share to the other; with none, Get decodes
    // each photograph itself. Reads only the frames' bytes; `frames` must outlive this object.
    FullResolutionPhotos(const std::vector<Frame>& frames, SizeNeededFor needed,
                         std::size_t maxAlive,
                         const platform::ThreadStarter& start = platform::StartThread);
    // Starts no further decode and waits for those running.
    ~FullResolutionPhotos();
    FullResolutionPhotos(const FullResolutionPhotos&) = delete;
    FullResolutionPhotos& operator=(const FullResolutionPhotos&) = delete;

    // Frame `index`'s photograph, already resampled to the size needed when it was larger (see
    // ShrinkForDrawing), waiting for it if need be; nothing when its bytes did not decode or it
    // was released. Asking again for one not yet released costs nothing. Asking beyond the
    // `maxAlive` not released decodes on the caller's thread. One thread asks and releases.
    const ImageData* Get(std::size_t index);
    // Frees frame `index`'s photograph, which is not asked for again, so that a further decode
    // may start.
    void Release(std::size_t index);

  private:
    enum class State { Waiting, Decoding, Ready, Released };

    void Decode();
    std::shared_ptr<ImageData> DecodeOne(std::size_t index) const noexcept;

    const std::vector<Frame>& frames_;
    const SizeNeededFor needed_;
    const std::size_t maxAlive_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<State> states_;
    std::vector<std::shared_ptr<ImageData>> photos_;
    std::size_t started_ = 0;  // frames before this one are decoding or done
    std::size_t alive_ = 0;
    bool stopping_ = false;
    // Last, so that the threads end before the members they use.
    std::vector<std::jthread> threads_;
};

}  // namespace mirvane
