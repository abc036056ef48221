#include "export/png_encoder.h"

#include <isa-l/crc.h>
#include <isa-l/igzip_lib.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

namespace mirvane {
namespace {

// The picture is compressed in bands of rows, on all cores, as parts of the one zlib stream a
// PNG holds: every band but the last ends in a flush to a byte boundary instead of a final
// block, so the parts join. Fixed bands make the file the same on any number of cores.
// Deflate is ISA-L's igzip: on a rendered 4500 x 6179 sheet its level 1 needs a quarter of the
// CPU time of libdeflate's fastest level and a sixth of zlib's, for a file 4% larger than
// libdeflate's (19.9 against 19.2 MB); libdeflate also cannot end a part without a final block.
constexpr int kRowsPerBand = 512;
constexpr int kRowsPerStep = 16;  // rows filtered, then deflated, at a time
constexpr int kMaxThreads = 4;
constexpr int kCompressionLevel = 1;
// On that sheet the Average filter costs half of what Paeth costs, for a file 1% larger.
constexpr std::uint8_t kAverageFilter = 3;

constexpr std::array<std::uint8_t, 8> kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
// Deflate with a 32 KiB window, fastest compression: (0x78 * 256 + 0x01) % 31 == 0.
constexpr std::array<std::uint8_t, 2> kZlibHeader = {0x78, 0x01};
constexpr std::size_t kIhdrSize = 13;
constexpr std::size_t kChunkOverhead = 12;  // length, type, CRC
// Everything but the deflate data: signature, IHDR, IDAT's frame with the zlib header and
// Adler-32, IEND.
constexpr std::size_t kFixedBytes =
    kSignature.size() + (kChunkOverhead + kIhdrSize) + (kChunkOverhead + 2 + 4) + kChunkOverhead;
// A chunk holds at most 2^31 - 1 bytes, and the picture goes into one IDAT chunk.
constexpr std::size_t kMaxChunkBytes = 0x7fffffff;
// Room past the cap for a band's closing flush, so that a file exactly at the cap fits.
constexpr std::size_t kMaxFlushBytes = 64;

void PutBigEndian(std::uint8_t* out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
    }
}

void AppendBigEndian(Bytes& out, std::uint32_t value) {
    std::uint8_t bytes[4];
    PutBigEndian(bytes, value);
    out.insert(out.end(), bytes, bytes + 4);
}

// Appends one chunk: construction writes its length and type, Add its data, End its CRC.
class ChunkWriter {
  public:
    ChunkWriter(Bytes& out, const char (&type)[5], std::size_t size) : out_(out) {
        AppendBigEndian(out_, static_cast<std::uint32_t>(size));
        Add(reinterpret_cast<const std::uint8_t*>(type), 4);
    }
    void Add(const std::uint8_t* data, std::size_t size) {
        crc_ = crc32_gzip_refl(crc_, data, size);
        out_.insert(out_.end(), data, data + size);
    }
    void End() { AppendBigEndian(out_, crc_); }

  private:
    Bytes& out_;
    std::uint32_t crc_ = 0;
};

bool IsOpaque(const QImage& image) {
    if (!image.hasAlphaChannel()) {
        return true;
    }
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        QRgb all = 0xff000000u;
        for (int x = 0; x < image.width(); ++x) {
            all &= line[x];
        }
        if ((all >> 24) != 0xff) {
            return false;
        }
    }
    return true;
}

// One row as PNG samples: R, G, B and, with four channels, A.
void ToSamples(const QRgb* line, int width, int channels, std::uint8_t* out) {
    if (channels == 3) {
        for (int x = 0; x < width; ++x, out += 3) {
            out[0] = static_cast<std::uint8_t>(qRed(line[x]));
            out[1] = static_cast<std::uint8_t>(qGreen(line[x]));
            out[2] = static_cast<std::uint8_t>(qBlue(line[x]));
        }
    } else {
        for (int x = 0; x < width; ++x, out += 4) {
            out[0] = static_cast<std::uint8_t>(qRed(line[x]));
            out[1] = static_cast<std::uint8_t>(qGreen(line[x]));
            out[2] = static_cast<std::uint8_t>(qBlue(line[x]));
            out[3] = static_cast<std::uint8_t>(qAlpha(line[x]));
        }
    }
}

// The Average filter: each sample less the mean of its left and upper neighbours.
void AverageRow(const std::uint8_t* row, const std::uint8_t* above, std::size_t size, int bpp,
                std::uint8_t* out) {
    for (int i = 0; i < bpp; ++i) {
        out[i] = static_cast<std::uint8_t>(row[i] - (above[i] >> 1));  // no left neighbour
    }
    for (std::size_t i = static_cast<std::size_t>(bpp); i < size; ++i) {
        out[i] = static_cast<std::uint8_t>(row[i] - ((row[i - bpp] + above[i]) >> 1));
    }
}

enum class BandOutcome { Pending, Done, TooLarge };

// Rows [first, last) filtered and deflated, with the Adler-32 of the filtered bytes.
struct Band {
    int first = 0;
    int last = 0;
    std::size_t filteredBytes = 0;
    std::uint8_t* out = nullptr;  // room for the deflated band
    std::size_t room = 0;
    std::size_t size = 0;
    std::uint32_t adler = 1;
    BandOutcome outcome = BandOutcome::Pending;
};

// One thread's deflate stream and row buffers, reused for every band the thread takes.
class BandCompressor {
  public:
    BandCompressor(const QImage& image, int channels)
        : image_(image),
          channels_(channels),
          rowBytes_(static_cast<std::size_t>(image.width()) * channels),
          above_(rowBytes_),
          row_(rowBytes_),
          filtered_(kRowsPerStep * (1 + rowBytes_)),
          levelBuffer_(ISAL_DEF_LVL1_DEFAULT),
          stream_(std::make_unique<isal_zstream>()) {}

    BandOutcome Compress(Band& band, bool finalBand) {
        // Raw deflate: the zlib header and checksum are written once around all bands.
        isal_deflate_init(stream_.get());
        stream_->level = kCompressionLevel;
        stream_->level_buf = levelBuffer_.data();
        stream_->level_buf_size = static_cast<std::uint32_t>(levelBuffer_.size());
        stream_->gzip_flag = IGZIP_DEFLATE;

        stream_->next_out = band.out;
        stream_->avail_out = static_cast<std::uint32_t>(band.room);

        if (band.first > 0) {
            ToSamples(Line(band.first - 1), image_.width(), channels_, above_.data());
        } else {
            std::fill(above_.begin(), above_.end(), std::uint8_t{0});
        }
        for (int y = band.first; y < band.last; y += kRowsPerStep) {
            const int rows = std::min(kRowsPerStep, band.last - y);
            std::uint8_t* out = filtered_.data();
            for (int r = 0; r < rows; ++r, out += 1 + rowBytes_) {
                ToSamples(Line(y + r), image_.width(), channels_, row_.data());
                out[0] = kAverageFilter;
                AverageRow(row_.data(), above_.data(), rowBytes_, channels_, out + 1);
                std::swap(row_, above_);
            }
            const std::size_t size = static_cast<std::size_t>(rows) * (1 + rowBytes_);
            band.adler = isal_adler32(band.adler, filtered_.data(), size);
            const bool bandEnds = y + rows == band.last;
            stream_->next_in = filtered_.data();
            stream_->avail_in = static_cast<std::uint32_t>(size);
            stream_->end_of_stream = bandEnds && finalBand;
            stream_->flush = bandEnds && !finalBand ? SYNC_FLUSH : NO_FLUSH;
            if (isal_deflate(stream_.get()) != COMP_OK || stream_->avail_in != 0) {
                return BandOutcome::TooLarge;  // out of room
            }
        }
        // A stream that ran out of room midway through its ending is not complete.
        const auto state = stream_->internal_state.state;
        if (finalBand ? state != ZSTATE_END : state != ZSTATE_NEW_HDR) {
            return BandOutcome::TooLarge;
        }
        band.size = band.room - stream_->avail_out;
        return BandOutcome::Done;
    }

  private:
    const QRgb* Line(int y) const { return reinterpret_cast<const QRgb*>(image_.constScanLine(y)); }

    const QImage& image_;
    const int channels_;
    const std::size_t rowBytes_;
    std::vector<std::uint8_t> above_;
    std::vector<std::uint8_t> row_;
    std::vector<std::uint8_t> filtered_;
    std::vector<std::uint8_t> levelBuffer_;
    std::unique_ptr<isal_zstream> stream_;  // some 100 KiB: not for a thread's stack
};

// Compresses every band, the caller's thread and up to kMaxThreads - 1 helpers taking them in
// turn. Stops early once one band fails.
void CompressBands(const QImage& image, int channels, std::vector<Band>& bands,
                   const platform::ThreadStarter& start) {
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    const auto work = [&] {
        try {
            BandCompressor compressor(image, channels);
            for (std::size_t i = next++; i < bands.size() && !failed; i = next++) {
                bands[i].outcome = compressor.Compress(bands[i], i + 1 == bands.size());
                if (bands[i].outcome != BandOutcome::Done) {
                    failed = true;
                }
            }
        } catch (const std::bad_alloc&) {
            failed = true;  // the band being worked on stays Pending
        }
    };
    const int hardware = static_cast<int>(std::thread::hardware_concurrency());
    const int threads = std::clamp(std::min(hardware, kMaxThreads), 1,
                                   static_cast<int>(std::min<std::size_t>(bands.size(), 64)));
    std::vector<std::jthread> helpers;
    helpers.reserve(static_cast<std::size_t>(threads));
    for (int i = 1; i < threads; ++i) {
        std::jthread helper = start(work);
        if (!helper.joinable()) {
            break;  // fewer helpers; the bands still get done
        }
        helpers.push_back(std::move(helper));
    }
    work();
}

}  // namespace

Bytes EncodePng(const QImage& image, std::size_t maxBytes, const platform::ThreadStarter& start) {
    maxBytes = std::min(maxBytes, kMaxChunkBytes);
    if (image.isNull() || maxBytes <= kFixedBytes) {
        return {};
    }
    const bool opaque = IsOpaque(image);
    const int channels = opaque ? 3 : 4;
    // Every pixel is read as a straight-alpha QRgb; an opaque picture already is one.
    const bool direct = image.format() == QImage::Format_ARGB32 ||
                        image.format() == QImage::Format_RGB32 ||
                        (opaque && image.format() == QImage::Format_ARGB32_Premultiplied);
    QImage converted;
    if (!direct) {
        converted = image.convertToFormat(opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32);
        if (converted.isNull()) {
            throw std::bad_alloc();
        }
    }
    const QImage& source = direct ? image : converted;
    // igzip counts the bytes of one step in 32 bits.
    if (static_cast<std::uint64_t>(source.width()) * channels + 1 >
        std::numeric_limits<std::uint32_t>::max() / kRowsPerStep) {
        return {};
    }

    // Each band gets more room than it can take, even stored uncompressed, but never beyond
    // the cap, all in one block: a block this large is mapped afresh, so the room a band leaves
    // untouched costs no memory.
    const std::size_t deflateRoom = maxBytes - kFixedBytes;
    const std::size_t rowBytes = 1 + static_cast<std::size_t>(source.width()) * channels;
    std::vector<Band> bands((source.height() + kRowsPerBand - 1) / kRowsPerBand);
    std::size_t allRoom = 0;
    for (std::size_t i = 0; i < bands.size(); ++i) {
        Band& band = bands[i];
        band.first = static_cast<int>(i) * kRowsPerBand;
        band.last = std::min(source.height(), band.first + kRowsPerBand);
        band.filteredBytes = static_cast<std::size_t>(band.last - band.first) * rowBytes;
        band.room = std::min(band.filteredBytes + band.filteredBytes / 8 + 1024,
                             deflateRoom + kMaxFlushBytes);
        allRoom += band.room;
    }
    const auto room = std::make_unique_for_overwrite<std::uint8_t[]>(allRoom);
    for (std::size_t i = 0, offset = 0; i < bands.size(); offset += bands[i++].room) {
        bands[i].out = room.get() + offset;
    }
    CompressBands(source, channels, bands, start);
    const auto outcome = [&](BandOutcome wanted) {
        return std::any_of(bands.begin(), bands.end(),
                           [&](const Band& band) { return band.outcome == wanted; });
    };
    if (outcome(BandOutcome::TooLarge)) {
        return {};
    }
    if (outcome(BandOutcome::Pending)) {
        throw std::bad_alloc();  // a thread ran out of memory
    }
    std::size_t deflated = 0;
    for (const Band& band : bands) {
        deflated += band.size;
    }
    if (deflated > deflateRoom) {
        return {};
    }

    Bytes png;
    png.reserve(kFixedBytes + deflated);
    png.insert(png.end(), kSignature.begin(), kSignature.end());
    ChunkWriter ihdr(png, "IHDR", kIhdrSize);
    std::uint8_t header[kIhdrSize] = {};
    PutBigEndian(header, static_cast<std::uint32_t>(source.width()));
    PutBigEndian(header + 4, static_cast<std::uint32_t>(source.height()));
    header[8] = 8;                // bits per sample
    header[9] = opaque ? 2 : 6;   // truecolour, or truecolour with alpha
    ihdr.Add(header, kIhdrSize);  // deflate, adaptive filtering, no interlace: all zero
    ihdr.End();

    ChunkWriter idat(png, "IDAT", kZlibHeader.size() + deflated + 4);
    idat.Add(kZlibHeader.data(), kZlibHeader.size());
    std::uint32_t adler = 1;
    for (Band& band : bands) {
        idat.Add(band.out, band.size);
        adler = static_cast<std::uint32_t>(
            adler32_combine(adler, band.adler, static_cast<z_off_t>(band.filteredBytes)));
    }
    std::uint8_t trailer[4];
    PutBigEndian(trailer, adler);
    idat.Add(trailer, 4);
    idat.End();

    ChunkWriter(png, "IEND", 0).End();
    return png;
}

}  // namespace mirvane
