// One dated photograph of a sheet.
#pragma once

#include <cstdint>
#include <memory>

#include "archive/bytes.h"
#include "render/imaging.h"

namespace mirvane {

// Made only by PrepareFrame. The bytes and the preview are never written after that, so copies
// of a frame may travel to the export thread; shared_ptr counts atomically.
struct Frame {
    std::int32_t year = 0;
    std::shared_ptr<const Bytes> encodedBytes;       // the complete encoded file
    std::shared_ptr<const imaging::Bitmap> preview;  // upright, at most 768 px a side, PARGB32
};

}  // namespace mirvane
