#include "bomb_images.h"

#include <zlib.h>

#include <algorithm>
#include <bit>
#include <stdexcept>

#include "archive/photo_limits.h"

namespace mirvane::testing {
namespace {

void PutBigEndian16(Bytes& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

void PutBigEndian32(Bytes& out, std::uint32_t value) {
    PutBigEndian16(out, value >> 16);
    PutBigEndian16(out, value & 0xffff);
}

void PutLittleEndian(Bytes& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

// ---- JPEG ----

void JpegSegment(Bytes& out, std::uint8_t marker, const Bytes& payload) {
    out.push_back(0xff);
    out.push_back(marker);
    PutBigEndian16(out, static_cast<std::uint32_t>(payload.size() + 2));
    out.insert(out.end(), payload.begin(), payload.end());
}

// A Huffman table segment's payload whose codes all have the same length.
Bytes HuffmanTable(std::uint8_t classAndId, int codeLength, const Bytes& symbols) {
    Bytes table(17 + symbols.size(), 0);
    table[0] = classAndId;
    table[static_cast<std::size_t>(codeLength)] = static_cast<std::uint8_t>(symbols.size());
    std::copy(symbols.begin(), symbols.end(), table.begin() + 17);
    return table;
}

// Start, a quantisation table of ones, the frame header of one grey component, and a DC table
// whose only code, '0', means "no change".
Bytes JpegHead(std::uint8_t frameMarker, int width, int height) {
    if (width < 1 || width > 65535 || height < 1 || height > 65535) {
        throw std::invalid_argument("a JPEG side is 1 to 65535 pixels");
    }
    Bytes out = {0xff, 0xd8};
    Bytes quantisation(65, 1);
    quantisation[0] = 0;
    JpegSegment(out, 0xdb, quantisation);
    Bytes frame = {8};
    PutBigEndian16(frame, static_cast<std::uint32_t>(height));
    PutBigEndian16(frame, static_cast<std::uint32_t>(width));
    frame.insert(frame.end(), {1, 1, 0x11, 0});
    JpegSegment(out, frameMarker, frame);
    JpegSegment(out, 0xc4, HuffmanTable(0x00, 1, {0x00}));
    return out;
}

void JpegScanHeader(Bytes& out, std::uint8_t first, std::uint8_t last) {
    JpegSegment(out, 0xda, {1, 1, 0x00, first, last, 0x00});
}

std::size_t BlockCount(int width, int height) {
    return std::size_t((width + 7) / 8) * std::size_t((height + 7) / 8);
}

// Entropy-coded bits, with the 0xff stuffing and the final padding of ones that JPEG asks for.
class JpegBits {
  public:
    explicit JpegBits(Bytes& out) : out_(out) {}
    ~JpegBits() {
        if (count_ > 0) {
            Put(0xff >> count_, 8 - count_);
        }
    }
    void Put(std::uint32_t value, int bits) {
        for (int i = bits - 1; i >= 0; --i) {
            current_ = static_cast<std::uint8_t>(current_ << 1 | ((value >> i) & 1));
            if (++count_ == 8) {
                out_.push_back(current_);
                if (current_ == 0xff) {
                    out_.push_back(0);
                }
                current_ = 0;
                count_ = 0;
            }
        }
    }
    // Many zero bits at once, whole bytes without a loop over every bit.
    void PutZeros(std::size_t bits) {
        while (bits > 0 && count_ != 0) {
            Put(0, 1);
            --bits;
        }
        out_.resize(out_.size() + bits / 8, 0);
        Put(0, static_cast<int>(bits % 8));
    }

  private:
    Bytes& out_;
    std::uint8_t current_ = 0;
    int count_ = 0;
};

// ---- PNG ----

void PngChunk(Bytes& out, const char* type, const Bytes& data) {
    PutBigEndian32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBigEndian32(out, static_cast<std::uint32_t>(
                            crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

// The signature and the header chunk: grey unless told otherwise, deflate, no interlace.
Bytes PngStart(std::uint32_t width, std::uint32_t height, std::uint8_t bitDepth,
               std::uint8_t colourType = 0) {
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    Bytes header;
    PutBigEndian32(header, width);
    PutBigEndian32(header, height);
    header.insert(header.end(), {bitDepth, colourType, 0, 0, 0});
    PngChunk(out, "IHDR", header);
    return out;
}

// `size` zero bytes deflated by zlib, fed from one small buffer so that nothing of that size
// ever exists.
Bytes DeflatedZeros(std::uint64_t size) {
    z_stream stream{};
    if (deflateInit(&stream, Z_BEST_COMPRESSION) != Z_OK) {
        throw std::runtime_error("zlib");
    }
    static const Bytes zeros(1 << 20, 0);
    Bytes out;
    Bytes chunk(1 << 16);
    std::uint64_t left = size;
    int result = Z_OK;
    while (result != Z_STREAM_END) {
        const std::size_t take = std::min<std::uint64_t>(left, zeros.size());
        stream.next_in = const_cast<Bytef*>(zeros.data());
        stream.avail_in = static_cast<uInt>(take);
        left -= take;
        const int flush = left == 0 ? Z_FINISH : Z_NO_FLUSH;
        do {
            stream.next_out = chunk.data();
            stream.avail_out = static_cast<uInt>(chunk.size());
            result = deflate(&stream, flush);
            out.insert(out.end(), chunk.data(), chunk.data() + chunk.size() - stream.avail_out);
        } while (stream.avail_out == 0);
    }
    deflateEnd(&stream);
    return out;
}

// A 1 x 1 black picture and the end: what follows a PNG's ancillary chunks.
void PngTinyPictureAndEnd(Bytes& out) {
    PngChunk(out, "IDAT", DeflatedZeros(2));
    PngChunk(out, "IEND", {});
}

}  // namespace

Bytes FlatJpeg(int width, int height) {
    Bytes out = JpegHead(0xc0, width, height);
    // The AC table's only code, '0', ends the block.
    JpegSegment(out, 0xc4, HuffmanTable(0x10, 1, {0x00}));
    JpegScanHeader(out, 0, 63);
    JpegBits(out).PutZeros(2 * BlockCount(width, height));
    out.insert(out.end(), {0xff, 0xd9});
    return out;
}

Bytes ManyScanJpeg(int width, int height, int acScans) {
    Bytes out = JpegHead(0xc2, width, height);
    // Fifteen 4-bit codes, code r standing for "end of band for a run of 2^r + r more bits
    // blocks", so that one code covers up to 32767 blocks.
    Bytes endsOfBand;
    for (std::uint8_t r = 0; r < 15; ++r) {
        endsOfBand.push_back(static_cast<std::uint8_t>(r << 4));
    }
    JpegSegment(out, 0xc4, HuffmanTable(0x10, 4, endsOfBand));
    const std::size_t blocks = BlockCount(width, height);
    JpegScanHeader(out, 0, 0);
    JpegBits(out).PutZeros(blocks);
    for (int scan = 0; scan < acScans; ++scan) {
        JpegScanHeader(out, 1, 63);
        JpegBits bits(out);
        for (std::size_t left = blocks; left > 0;) {
            const auto run = static_cast<std::uint32_t>(std::min<std::size_t>(left, 32767));
            const int r = std::bit_width(run) - 1;
            bits.Put(static_cast<std::uint32_t>(r), 4);
            bits.Put(run - (1u << r), r);
            left -= run;
        }
    }
    out.insert(out.end(), {0xff, 0xd9});
    return out;
}

Bytes FlatPng(std::uint32_t width, std::uint32_t height, bool rgba16) {
    Bytes out = rgba16 ? PngStart(width, height, 16, 6) : PngStart(width, height, 1);
    // Each row: the filter byte, then the pixels, one bit or eight bytes each; all of it zeros.
    const std::uint64_t rowBytes =
        rgba16 ? std::uint64_t{width} * 8 : (std::uint64_t{width} + 7) / 8;
    PngChunk(out, "IDAT", DeflatedZeros(std::uint64_t{height} * (1 + rowBytes)));
    PngChunk(out, "IEND", {});
    return out;
}

Bytes PngWithTextBombs(int count) {
    Bytes out = PngStart(1, 1, 8);
    Bytes text = {'k', 0, 0};  // keyword, its end, deflate
    const Bytes inflated = DeflatedZeros(7'900'000);
    text.insert(text.end(), inflated.begin(), inflated.end());
    for (int i = 0; i < count; ++i) {
        PngChunk(out, "zTXt", text);
    }
    PngTinyPictureAndEnd(out);
    return out;
}

Bytes PngWithManyTextChunks(int count) {
    Bytes out = PngStart(1, 1, 8);
    for (int i = 0; i < count; ++i) {
        PngChunk(out, "tEXt", {'k', 0, 'v'});
    }
    PngTinyPictureAndEnd(out);
    return out;
}

Bytes PngWithHugeChunk() {
    Bytes out = PngStart(1, 1, 8);
    PutBigEndian32(out, 0x7fffffff);
    out.insert(out.end(), {'t', 'E', 'X', 't', 'k', 0, 'v', 'v'});
    return out;
}

Bytes PngWithEndlessChunks(std::size_t size) {
    Bytes one;
    PngChunk(one, "tEXt", {'k', 0, 'v'});
    Bytes out = PngStart(1, 1, 8);
    out.reserve(size);
    while (out.size() + one.size() <= size) {
        out.insert(out.end(), one.begin(), one.end());
    }
    return out;
}

Bytes FlatRleBmp(std::int32_t width, std::int32_t height) {
    constexpr std::uint32_t kHeaders = 14 + 40;
    constexpr std::uint32_t kPalette = 256 * 4;
    const Bytes pixels = {0, 1};  // end of bitmap
    Bytes out = {'B', 'M'};
    PutLittleEndian(out, kHeaders + kPalette + static_cast<std::uint32_t>(pixels.size()), 4);
    PutLittleEndian(out, 0, 4);
    PutLittleEndian(out, kHeaders + kPalette, 4);
    PutLittleEndian(out, 40, 4);
    PutLittleEndian(out, static_cast<std::uint32_t>(width), 4);
    PutLittleEndian(out, static_cast<std::uint32_t>(height), 4);
    PutLittleEndian(out, 1, 2);  // planes
    PutLittleEndian(out, 8, 2);  // bits per pixel
    PutLittleEndian(out, 1, 4);  // run-length encoded, 8 bits
    PutLittleEndian(out, static_cast<std::uint32_t>(pixels.size()), 4);
    PutLittleEndian(out, 2835, 4);
    PutLittleEndian(out, 2835, 4);
    PutLittleEndian(out, 256, 4);
    PutLittleEndian(out, 0, 4);
    for (std::uint32_t i = 0; i < 256; ++i) {
        PutLittleEndian(out, i * 0x010101, 4);
    }
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

std::vector<Bomb> AllBombs() {
    // The smallest picture over the pixel cap whose sides both keep to the side cap.
    constexpr int kOverPixelsWide = 15'241;
    constexpr int kOverPixelsHigh = 5'249;
    static_assert(std::int64_t{kOverPixelsWide} * kOverPixelsHigh == kMaxPhotoPixels + 9);
    constexpr int kOverSide = kMaxPhotoSide + 1;

    std::vector<Bomb> bombs;
    bombs.push_back({"JPEG 24001 x 1", FlatJpeg(kOverSide, 1)});
    bombs.push_back({"JPEG 15241 x 5249", FlatJpeg(kOverPixelsWide, kOverPixelsHigh)});
    bombs.push_back({"JPEG 65535 x 65535", FlatJpeg(65535, 65535)});
    bombs.push_back({"PNG 24001 x 1", FlatPng(kOverSide, 1)});
    bombs.push_back({"PNG 15241 x 5249", FlatPng(kOverPixelsWide, kOverPixelsHigh)});
    bombs.push_back({"PNG 65535 x 65535", FlatPng(65535, 65535)});
    bombs.push_back({"BMP 24001 x 1", FlatRleBmp(kOverSide, 1)});
    bombs.push_back({"BMP 15241 x 5249", FlatRleBmp(kOverPixelsWide, kOverPixelsHigh)});
    bombs.push_back({"BMP 65535 x 65535", FlatRleBmp(65535, 65535)});
    bombs.push_back({"PNG chunk declaring 2 GiB", PngWithHugeChunk()});
    bombs.push_back({"PNG endless chunks, 40 MiB", PngWithEndlessChunks(kMaxPhotoBytes)});
    bombs.push_back({"PNG 1,000,000 text chunks", PngWithManyTextChunks(1'000'000)});
    bombs.push_back({"PNG 1000 x 7.9 MB compressed text", PngWithTextBombs(1000)});
    bombs.push_back({"progressive JPEG, 5000 scans", ManyScanJpeg(1024, 1024, 4999)});
    return bombs;
}

}  // namespace mirvane::testing
