// PNG encoding of a sheet: 8 bits a channel, RGB when the picture is opaque, made row band by
// row band so that neither the whole picture nor the whole file has to exist at once.
#pragma once

#include <QImage>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "archive/bytes.h"
#include "platform/threads.h"

namespace mirvane {

// The largest PNG file an export writes (160 MiB).
inline constexpr std::size_t kMaxPngBytes = 167'772'160;

// Takes the file's bytes in order as they are made; false stops the encoding.
using PngSink = std::function<bool(std::span<const std::uint8_t>)>;

// One PNG file made from its rows, given top to bottom in bands of any height, each band's
// compressed bytes handed to the sink before the next band is taken. The file is the same for
// any banding and any number of threads. Uses up to four threads per band, and as few as the
// caller's own when no other can be started.
class PngStreamEncoder {
  public:
    // `opaque`: RGB, the rows' alpha is not written; otherwise RGBA with straight alpha.
    // `maxBytes`: the file may be no larger; the limit is checked as bytes are made, so no
    // buffer beyond it is ever filled and nothing beyond it reaches the sink.
    PngStreamEncoder(int width, int height, bool opaque, PngSink sink,
                     std::size_t maxBytes = kMaxPngBytes,
                     const platform::ThreadStarter& start = platform::StartThread);
    ~PngStreamEncoder();
    PngStreamEncoder(const PngStreamEncoder&) = delete;
    PngStreamEncoder& operator=(const PngStreamEncoder&) = delete;

    // The next `count` rows of the picture: rows [first, first + count) of `rows`, which is as
    // wide as the picture, in ARGB32 or RGB32, or ARGB32_Premultiplied when opaque. False once
    // anything failed: the rows do not fit, the file would pass the limit, the sink refused.
    // Throws std::bad_alloc when memory for the compression runs out.
    bool AddRows(const QImage& rows, int first, int count);
    // True when every row came and the whole file, within the limit, went to the sink.
    bool Finish();

  private:
    struct Stream;
    std::unique_ptr<Stream> stream_;
};

// The complete PNG file of `image`: RGB when every pixel is opaque, RGBA (straight alpha)
// otherwise. Empty when the image is null or the file would be larger than `maxBytes`. Throws
// std::bad_alloc when memory for the file runs out.
Bytes EncodePng(const QImage& image, std::size_t maxBytes = kMaxPngBytes,
                const platform::ThreadStarter& start = platform::StartThread);

}  // namespace mirvane
