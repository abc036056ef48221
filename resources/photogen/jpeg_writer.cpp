#include "jpeg_writer.h"

#include <turbojpeg.h>

#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>

namespace mirvane::photogen {

namespace {

struct HandleCloser {
    void operator()(void* handle) const { tjDestroy(handle); }
};
struct BufferFreer {
    void operator()(unsigned char* buffer) const { tjFree(buffer); }
};

// Exif APP1 with a big-endian TIFF header and a single tag: Orientation = 1.
constexpr std::uint8_t kExifUpright[] = {
    0xFF, 0xE1, 0x00, 0x22,                          // APP1, 34 bytes long
    'E',  'x',  'i',  'f',  0x00, 0x00,              // Exif identifier
    'M',  'M',  0x00, 0x2A, 0x00, 0x00, 0x00, 0x08,  // big-endian TIFF, first IFD at 8
    0x00, 0x01,                                      // one entry
    0x01, 0x12, 0x00, 0x03, 0x00, 0x00, 0x00, 0x01,  // Orientation, SHORT, one value
    0x00, 0x01, 0x00, 0x00,                          // 1: upright
    0x00, 0x00, 0x00, 0x00,                          // no further IFD
};
static_assert(sizeof(kExifUpright) == 2 + 0x22);

// Exif goes after the JFIF APP0 segment that TurboJPEG writes right after SOI.
std::size_t ExifInsertionPoint(const std::vector<std::uint8_t>& jpeg) {
    if (jpeg.size() > 6 && jpeg[2] == 0xFF && jpeg[3] == 0xE0) {
        return 4 + (static_cast<std::size_t>(jpeg[4]) << 8 | jpeg[5]);
    }
    return 2;
}

}  // namespace

void PinEncoderBehaviour() {
    for (const char* name : {"TJ_OPTIMIZE", "TJ_ARITHMETIC", "TJ_RESTART", "TJ_PROGRESSIVE"}) {
        unsetenv(name);
    }
}

std::vector<std::uint8_t> EncodeJpeg(const Raster& raster, const JpegSettings& settings) {
    std::unique_ptr<void, HandleCloser> handle(tjInitCompress());
    if (!handle) {
        throw std::runtime_error(std::string("cannot start the JPEG encoder: ") +
                                 tjGetErrorStr2(nullptr));
    }
    unsigned char* data = nullptr;
    unsigned long size = 0;
    const int flags = settings.progressive ? TJFLAG_PROGRESSIVE : 0;
    const int subsampling = settings.chroma == Chroma::k444 ? TJSAMP_444 : TJSAMP_420;
    const int status = tjCompress2(handle.get(), raster.rgb.data(), raster.width, 0, raster.height,
                                   TJPF_RGB, &data, &size, subsampling, settings.quality, flags);
    std::unique_ptr<unsigned char, BufferFreer> owned(data);
    if (status != 0) {
        throw std::runtime_error(std::string("JPEG encoding failed: ") +
                                 tjGetErrorStr2(handle.get()));
    }
    std::vector<std::uint8_t> jpeg(data, data + size);
    if (settings.exif_orientation) {
        const std::size_t at = ExifInsertionPoint(jpeg);
        jpeg.insert(jpeg.begin() + static_cast<std::ptrdiff_t>(at), std::begin(kExifUpright),
                    std::end(kExifUpright));
    }
    return jpeg;
}

}  // namespace mirvane::photogen
