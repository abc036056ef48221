// PNG encoding of a finished sheet: 8 bits a channel, RGB when the picture is opaque.
#pragma once

#include <QImage>
#include <cstddef>

#include "archive/bytes.h"
#include "platform/threads.h"

namespace mirvane {

// The largest PNG file an export writes (160 MiB).
inline constexpr std::size_t kMaxPngBytes = 167'772'160;

// The complete PNG file of `image`: RGB when every pixel is opaque, RGBA (straight alpha)
// otherwise. Empty when the image is null or the file would be larger than `maxBytes`; the
// limit is checked while compressing, so no buffer beyond it is ever filled. Throws
// std::bad_alloc when memory for the file runs out. Uses up to four threads, and as few as the
// caller's own when no other can be started.
Bytes EncodePng(const QImage& image, std::size_t maxBytes = kMaxPngBytes,
                const platform::ThreadStarter& start = platform::StartThread);

}  // namespace mirvane
