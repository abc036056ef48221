// Writes the seed corpora of the fuzz targets: small photographs of every kind the decoders
// take, and pair inputs of two to four files. Run once; its output is kept in the repository.
//   make_seeds DIR    writes DIR/images/* and DIR/pairs/*
#include <turbojpeg.h>

#include <QBuffer>
#include <QImage>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "pair_list.h"
#include "support/cmyk_jpeg.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put(Bytes& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

// Smooth colour and alpha gradients with a sharp edge, so every decoder stage has work.
QImage Picture(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int edge = x > width / 2 ? 80 : 0;
            image.setPixel(x, y, qRgba(x * 5 + edge, y * 7, 200 - x * 3, 255 - y * 6));
        }
    }
    return image;
}

Bytes Jpeg(const QImage& picture, bool grey, bool progressive) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    tjhandle handle = tjInitCompress();
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    const int flags = progressive ? TJFLAG_PROGRESSIVE : 0;
    Bytes out;
    if (tjCompress2(handle, rgb.constBits(), rgb.width(), int(rgb.bytesPerLine()), rgb.height(),
                    TJPF_BGRX, &jpeg, &size, grey ? TJSAMP_GRAY : TJSAMP_420, 85, flags) == 0) {
        out.assign(jpeg, jpeg + size);
    }
    tjFree(jpeg);
    tjDestroy(handle);
    return out;
}

// An EXIF segment with one orientation tag, right after the start marker.
Bytes WithOrientation(const Bytes& jpeg, std::uint8_t orientation) {
    const Bytes segment = {0xff, 0xe1,        0x00, 0x22, 'E',  'x',  'i',  'f',  0,
                           0,    'I',         'I',  0x2a, 0x00, 0x08, 0x00, 0x00, 0x00,
                           0x01, 0x00,        0x12, 0x01, 0x03, 0x00, 0x01, 0x00, 0x00,
                           0x00, orientation, 0,    0,    0,    0,    0,    0,    0};
    Bytes out(jpeg.begin(), jpeg.begin() + 2);
    out.insert(out.end(), segment.begin(), segment.end());
    out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
    return out;
}

Bytes Png(const QImage& image) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "png");
    return Bytes(data.begin(), data.end());
}

// An uncompressed BMP of 24 or 32 bits a pixel; 32-bit ones with `alpha` carry a V4 header
// whose masks include alpha.
Bytes Bmp(const QImage& picture, int bits, bool topDown, bool alpha) {
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    const int width = image.width();
    const int height = image.height();
    const std::uint32_t stride = std::uint32_t(width * bits + 31) / 32 * 4;
    const std::uint32_t headerSize = alpha ? 108 : 40;
    const std::uint32_t offset = 14 + headerSize;
    Bytes out = {'B', 'M'};
    Put(out, offset + stride * std::uint32_t(height), 4);
    Put(out, 0, 4);
    Put(out, offset, 4);
    Put(out, headerSize, 4);
    Put(out, std::uint32_t(width), 4);
    Put(out, std::uint32_t(topDown ? -height : height), 4);
    Put(out, 1, 2);
    Put(out, std::uint32_t(bits), 2);
    Put(out, alpha ? 3 : 0, 4);  // bit fields or plain rows
    Put(out, stride * std::uint32_t(height), 4);
    Put(out, 2835, 4);
    Put(out, 2835, 4);
    Put(out, 0, 4);
    Put(out, 0, 4);
    if (alpha) {
        for (std::uint32_t mask : {0x00ff0000u, 0x0000ff00u, 0x000000ffu, 0xff000000u}) {
            Put(out, mask, 4);
        }
        Put(out, 0x73524742, 4);  // "sRGB"
        out.resize(out.size() + 36 + 12, 0);
    }
    for (int row = 0; row < height; ++row) {
        const int y = topDown ? row : height - 1 - row;
        Bytes line;
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = image.pixel(x, y);
            line.insert(line.end(), {std::uint8_t(qBlue(pixel)), std::uint8_t(qGreen(pixel)),
                                     std::uint8_t(qRed(pixel))});
            if (bits == 32) {
                line.push_back(alpha ? std::uint8_t(qAlpha(pixel)) : 0);
            }
        }
        line.resize(stride, 0);
        out.insert(out.end(), line.begin(), line.end());
    }
    return out;
}

// An 8-bit run-length-encoded BMP of a grey palette, brighter towards the bottom: each row a
// run, an absolute stretch and a run, then its end; rows stored bottom-up.
Bytes RleBmp(int width, int height) {
    Bytes pixels;
    for (int row = 0; row < height; ++row) {
        const int y = height - 1 - row;
        const int first = width / 3;
        const int literal = 6;
        pixels.insert(pixels.end(), {std::uint8_t(first), std::uint8_t(y * 8)});
        pixels.insert(pixels.end(), {0, std::uint8_t(literal)});
        for (int i = 0; i < literal; ++i) {
            pixels.push_back(std::uint8_t(40 * i));
        }
        pixels.insert(pixels.end(), {std::uint8_t(width - first - literal), 255, 0, 0});
    }
    pixels.insert(pixels.end(), {0, 1});
    const std::uint32_t offset = 14 + 40 + 256 * 4;
    Bytes out = {'B', 'M'};
    Put(out, offset + std::uint32_t(pixels.size()), 4);
    Put(out, 0, 4);
    Put(out, offset, 4);
    Put(out, 40, 4);
    Put(out, std::uint32_t(width), 4);
    Put(out, std::uint32_t(height), 4);
    Put(out, 1, 2);
    Put(out, 8, 2);
    Put(out, 1, 4);
    Put(out, std::uint32_t(pixels.size()), 4);
    Put(out, 2835, 4);
    Put(out, 2835, 4);
    Put(out, 256, 4);
    Put(out, 0, 4);
    for (std::uint32_t i = 0; i < 256; ++i) {
        Put(out, i * 0x010101, 4);
    }
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

Bytes PairFile(std::uint32_t firstYear, const Bytes& first, std::uint32_t secondYear,
               const Bytes& second) {
    Bytes out = {'Q', 'M', 'P', '1'};
    for (std::uint32_t value :
         {1u, firstYear, secondYear, std::uint32_t(first.size()), std::uint32_t(second.size())}) {
        Put(out, value, 4);
    }
    out.insert(out.end(), first.begin(), first.end());
    out.insert(out.end(), second.begin(), second.end());
    return out;
}

Bytes Joined(const std::vector<Bytes>& files) {
    Bytes out;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (i > 0) {
            out.insert(out.end(), mirvane::fuzz::kPairFileSeparator.begin(),
                       mirvane::fuzz::kPairFileSeparator.end());
        }
        out.insert(out.end(), files[i].begin(), files[i].end());
    }
    return out;
}

bool Write(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    std::printf("%-40s %6zu bytes\n", path.c_str(), bytes.size());
    return bytes.size() > 0 && bool(file);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds DIR\n");
        return 2;
    }
    const std::filesystem::path root = argv[1];
    std::filesystem::create_directories(root / "images");
    std::filesystem::create_directories(root / "pairs");
    const QImage picture = Picture(48, 32);
    const QImage opaque = picture.convertToFormat(QImage::Format_RGB32);

    const Bytes baseline = Jpeg(picture, false, false);
    const Bytes progressive = Jpeg(picture, false, true);
    const Bytes rgb16 = Png(opaque.convertToFormat(QImage::Format_RGBX64));
    const Bytes palette = Png(opaque.convertToFormat(QImage::Format_Indexed8));
    const Bytes bottomUp = Bmp(picture, 24, false, false);
    const Bytes topDown = Bmp(picture, 24, true, false);

    bool ok = true;
    const std::filesystem::path images = root / "images";
    ok &= Write(images / "baseline-420.jpg", baseline);
    ok &= Write(images / "progressive-420.jpg", progressive);
    ok &= Write(images / "grey-orientation-6.jpg", WithOrientation(Jpeg(picture, true, false), 6));
    ok &= Write(images / "cmyk-adobe.jpg",
                mirvane::testing::CmykJpegOf(opaque, mirvane::testing::CmykJpeg::AdobeCmyk));
    ok &= Write(images / "ycck-adobe.jpg",
                mirvane::testing::CmykJpegOf(opaque, mirvane::testing::CmykJpeg::AdobeYcck));
    ok &= Write(images / "rgb8.png", Png(opaque));
    ok &= Write(images / "rgba8.png", Png(picture));
    ok &= Write(images / "rgb16.png", rgb16);
    ok &= Write(images / "rgba16.png", Png(picture.convertToFormat(QImage::Format_RGBA64)));
    ok &= Write(images / "grey8.png", Png(opaque.convertToFormat(QImage::Format_Grayscale8)));
    ok &= Write(images / "palette.png", palette);
    ok &= Write(images / "bgr24-bottom-up.bmp", bottomUp);
    ok &= Write(images / "bgr24-top-down.bmp", topDown);
    ok &= Write(images / "bgrx32-bottom-up.bmp", Bmp(picture, 32, false, false));
    ok &= Write(images / "bgra32-top-down.bmp", Bmp(picture, 32, true, true));
    ok &= Write(images / "rle8-bottom-up.bmp", RleBmp(48, 32));

    const std::filesystem::path pairs = root / "pairs";
    const Bytes a = PairFile(2010, baseline, 1995, palette);
    const Bytes b = PairFile(2001, progressive, 2010, bottomUp);
    const Bytes c = PairFile(1980, rgb16, 2020, topDown);
    ok &= Write(pairs / "two-files.qmp", Joined({a, b}));
    ok &= Write(pairs / "three-files.qmp", Joined({a, b, c}));
    ok &= Write(pairs / "four-files.qmp", Joined({a, b, c, a}));
    return ok ? 0 : 1;
}
