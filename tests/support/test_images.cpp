#include "support/test_images.h"

#include <turbojpeg.h>

#include <QBuffer>
#include <QPainter>
#include <cmath>
#include <stdexcept>

#include "support/exif_segments.h"

namespace mirvane::testing {
namespace {

Bytes Compress(const std::uint8_t* pixels, int width, int pitch, int height, int pixelFormat,
               int subsampling, int flags) {
    tjhandle handle = tjInitCompress();
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    const int status = tjCompress2(handle, pixels, width, pitch, height, pixelFormat, &jpeg, &size,
                                   subsampling, 95, flags);
    Bytes bytes;
    if (status == 0) {
        bytes.assign(jpeg, jpeg + size);
    }
    tjFree(jpeg);
    tjDestroy(handle);
    if (bytes.empty()) {
        throw std::runtime_error("test JPEG not encoded");
    }
    return bytes;
}

}  // namespace

Bytes FlatGreyJpeg(int width, int height, std::uint8_t grey) {
    const std::vector<std::uint8_t> pixels(std::size_t(width) * std::size_t(height), grey);
    return Compress(pixels.data(), width, width, height, TJPF_GRAY, TJSAMP_GRAY, 0);
}

Bytes JpegOf(const QImage& image, bool progressive) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    return Compress(rgb.constBits(), rgb.width(), static_cast<int>(rgb.bytesPerLine()),
                    rgb.height(), TJPF_BGRX, TJSAMP_444, progressive ? TJFLAG_PROGRESSIVE : 0);
}

Bytes EncodeWithQt(const QImage& image, const char* format) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format)) {
        throw std::runtime_error("test image not encoded");
    }
    return Bytes(data.begin(), data.end());
}

Bytes TinyGif() {
    return {'G',  'I', 'F', '8', '9',  'a',  1, 0, 1, 0,    0x80, 0, 0,    0xff, 0xff,
            0xff, 0,   0,   0,   0x21, 0xf9, 4, 1, 0, 0,    0,    0, 0x2c, 0,    0,
            0,    0,   1,   0,   1,    0,    0, 2, 2, 0x44, 1,    0, 0x3b};
}

Bytes TinyTiff() {
    // Little-endian header, then one IFD of eight SHORT/LONG entries, then the single grey pixel.
    Bytes tiff = {'I', 'I', 0x2a, 0, 8, 0, 0, 0, 8, 0};
    auto entry = [&tiff](std::uint16_t tag, std::uint16_t type, std::uint32_t value) {
        const std::uint8_t bytes[12] = {std::uint8_t(tag),
                                        std::uint8_t(tag >> 8),
                                        std::uint8_t(type),
                                        0,
                                        1,
                                        0,
                                        0,
                                        0,
                                        std::uint8_t(value),
                                        std::uint8_t(value >> 8),
                                        0,
                                        0};
        tiff.insert(tiff.end(), bytes, bytes + 12);
    };
    const std::uint32_t pixelOffset = 10 + 8 * 12 + 4;
    entry(256, 3, 1);  // width
    entry(257, 3, 1);  // height
    entry(258, 3, 8);  // bits per sample
    entry(259, 3, 1);  // no compression
    entry(262, 3, 1);  // black is zero
    entry(273, 4, pixelOffset);
    entry(278, 3, 1);  // rows per strip
    entry(279, 4, 1);  // strip byte count
    tiff.insert(tiff.end(), {0, 0, 0, 0, 0x80});
    return tiff;
}

QImage QuadrantImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QPainter(&image).fillRect(0, 0, width / 2, height / 2, Qt::red);
    return image;
}

QImage DetailedImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const double fx = x * 0.013;
            const double fy = y * 0.021;
            line[x] = qRgb(int(127 + 120 * std::sin(fx + fy)), int(127 + 120 * std::cos(fx * 0.7)),
                           int(127 + 120 * std::sin(fy * 1.3 - fx * 0.2)));
        }
    }
    return image;
}

Bytes WithExifOrientation(const Bytes& jpeg, std::uint16_t orientation) {
    return WithExif(jpeg, ExifBlock().Add(274, 3, 1, {orientation}).Tiff());
}

Bytes PaddedTo(Bytes bytes, std::size_t size) {
    bytes.resize(size, 0);
    return bytes;
}

double MeanAbsoluteDifference(const QImage& a, const QImage& b) {
    const QImage ca = a.convertToFormat(QImage::Format_RGB32);
    const QImage cb = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int y = 0; y < ca.height(); ++y) {
        for (int x = 0; x < ca.width(); ++x) {
            const QRgb pa = ca.pixel(x, y);
            const QRgb pb = cb.pixel(x, y);
            sum += std::abs(qRed(pa) - qRed(pb)) + std::abs(qGreen(pa) - qGreen(pb)) +
                   std::abs(qBlue(pa) - qBlue(pb));
        }
    }
    return sum / (3.0 * ca.width() * ca.height());
}

}  // namespace mirvane::testing
