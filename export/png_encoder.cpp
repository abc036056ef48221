#include "export/png_encoder.h"

#include <isa-l/crc.h>
#include <isa-l/igzip_lib.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

namespace mirvane {
namespace {

// The rows given are compressed in parts, on all cores, as pieces of the one zlib stream a PNG
// holds: every part but the last ends in a flush to a byte boundary instead of a final block,
// so the pieces join. Fixed parts make the file the same on any number of cores. Each group of
// rows becomes one IDAT chunk, written as soon as it is compressed.
// Deflate is ISA-L's igzip: on a rendered 4500 x 6179 sheet its level 1 needs a quarter of the
// CPU time of libdeflate's fastest level and a sixth of zlib's, for a file 4% larger than
// libdeflate's (19.9 against 19.2 MB); libdeflate also cannot end a part without a final block.
constexpr int kRowsPerGroup = 512;
constexpr int kRowsPerPart = 128;
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
constexpr std::size_t kAdlerBytes = 4;
constexpr std::size_t kMaxChunkBytes = 0x7fffffff;
// Room past the cap for a part's closing flush, so that a file exactly at the cap fits.
constexpr std::size_t kMaxFlushBytes = 64;

void PutBigEndian(std::uint8_t* out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
    }
}

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

enum class PartOutcome { Pending, Done, TooLarge };

// Rows [first, last) of a group filtered and deflated, with the Adler-32 of the filtered bytes.
struct Part {
    int first = 0;
    int last = 0;
    std::size_t filteredBytes = 0;
    std::uint8_t* out = nullptr;  // room for the deflated part
    std::size_t room = 0;
    std::size_t size = 0;
    std::uint32_t adler = 1;
    PartOutcome outcome = PartOutcome::Pending;
};

// One thread's deflate stream and row buffers, reused for every part the thread takes.
class PartCompressor {
  public:
    PartCompressor(const QImage& rows, int channels, const std::vector<std::uint8_t>& above)
        : rows_(rows),
          channels_(channels),
          rowBytes_(static_cast<std::size_t>(rows.width()) * channels),
          groupAbove_(above),
          above_(rowBytes_),
          row_(rowBytes_),
          filtered_(kRowsPerStep * (1 + rowBytes_)),
          levelBuffer_(ISAL_DEF_LVL1_DEFAULT),
          stream_(std::make_unique<isal_zstream>()) {}

    // `groupFirst`: the group's first row in `rows`, whose row above is the one given.
    PartOutcome Compress(Part& part, int groupFirst, bool finalPart) {
        // Raw deflate: the zlib header and checksum are written once around all parts.
        isal_deflate_init(stream_.get());
        stream_->level = kCompressionLevel;
        stream_->level_buf = levelBuffer_.data();
        stream_->level_buf_size = static_cast<std::uint32_t>(levelBuffer_.size());
        stream_->gzip_flag = IGZIP_DEFLATE;

        stream_->next_out = part.out;
        stream_->avail_out = static_cast<std::uint32_t>(part.room);

        if (part.first > groupFirst) {
            ToSamples(Line(part.first - 1), rows_.width(), channels_, above_.data());
        } else {
            above_ = groupAbove_;
        }
        for (int y = part.first; y < part.last; y += kRowsPerStep) {
            const int rows = std::min(kRowsPerStep, part.last - y);
            std::uint8_t* out = filtered_.data();
            for (int r = 0; r < rows; ++r, out += 1 + rowBytes_) {
                ToSamples(Line(y + r), rows_.width(), channels_, row_.data());
                out[0] = kAverageFilter;
                AverageRow(row_.data(), above_.data(), rowBytes_, channels_, out + 1);
                std::swap(row_, above_);
            }
            const std::size_t size = static_cast<std::size_t>(rows) * (1 + rowBytes_);
            part.adler = isal_adler32(part.adler, filtered_.data(), size);
            const bool partEnds = y + rows == part.last;
            stream_->next_in = filtered_.data();
            stream_->avail_in = static_cast<std::uint32_t>(size);
            stream_->end_of_stream = partEnds && finalPart;
            stream_->flush = partEnds && !finalPart ? SYNC_FLUSH : NO_FLUSH;
            if (isal_deflate(stream_.get()) != COMP_OK || stream_->avail_in != 0) {
                return PartOutcome::TooLarge;  // out of room
            }
        }
        // A stream that ran out of room midway through its ending is not complete.
        const auto state = stream_->internal_state.state;
        if (finalPart ? state != ZSTATE_END : state != ZSTATE_NEW_HDR) {
            return PartOutcome::TooLarge;
        }
        part.size = part.room - stream_->avail_out;
        return PartOutcome::Done;
    }

  private:
    const QRgb* Line(int y) const { return reinterpret_cast<const QRgb*>(rows_.constScanLine(y)); }

    const QImage& rows_;
    const int channels_;
    const std::size_t rowBytes_;
    const std::vector<std::uint8_t>& groupAbove_;
    std::vector<std::uint8_t> above_;
    std::vector<std::uint8_t> row_;
    std::vector<std::uint8_t> filtered_;
    std::vector<std::uint8_t> levelBuffer_;
    std::unique_ptr<isal_zstream> stream_;  // some 100 KiB: not for a thread's stack
};

// The encoder's helper threads, started with its first group and kept for all of them: each
// group's work runs on the caller's thread and every helper at once. Helpers that cannot start
// leave the work to those that did, down to the caller's thread alone.
class Helpers {
  public:
    Helpers() = default;
    Helpers(const Helpers&) = delete;
    Helpers& operator=(const Helpers&) = delete;
    ~Helpers() {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_all();
    }

    // Starts up to `count` helpers, once; no further start is tried after one fails.
    void Start(int count, const platform::ThreadStarter& start) {
        if (started_) {
            return;
        }
        started_ = true;
        threads_.reserve(static_cast<std::size_t>(std::max(count, 0)));
        for (int i = 0; i < count; ++i) {
            std::jthread thread = start([this] { Serve(); });
            if (!thread.joinable()) {
                break;
            }
            threads_.push_back(std::move(thread));
        }
    }

    // Runs `work` on this thread and on every helper; returns once all have returned.
    void RunOnAll(const std::function<void()>& work) {
        {
            const std::lock_guard lock(mutex_);
            work_ = &work;
            running_ = threads_.size();
            ++round_;
        }
        changed_.notify_all();
        work();
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return running_ == 0; });
        work_ = nullptr;
    }

  private:
    void Serve() {
        std::uint64_t served = 0;
        for (;;) {
            const std::function<void()>* work = nullptr;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [&] { return stopping_ || round_ != served; });
                if (stopping_) {
                    return;
                }
                served = round_;
                work = work_;
            }
            (*work)();
            {
                const std::lock_guard lock(mutex_);
                --running_;
            }
            changed_.notify_all();
        }
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    const std::function<void()>* work_ = nullptr;
    std::uint64_t round_ = 0;
    std::size_t running_ = 0;
    bool stopping_ = false;
    bool started_ = false;
    // Last, so that the threads end before the members they use.
    std::vector<std::jthread> threads_;
};

// Compresses every part, the caller's thread and the helpers taking them in turn. Stops early
// once one part fails.
void CompressParts(const QImage& rows, int channels, const std::vector<std::uint8_t>& above,
                   int groupFirst, bool finalGroup, std::vector<Part>& parts, Helpers& helpers) {
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    helpers.RunOnAll([&] {
        try {
            PartCompressor compressor(rows, channels, above);
            for (std::size_t i = next++; i < parts.size() && !failed; i = next++) {
                const bool finalPart = finalGroup && i + 1 == parts.size();
                parts[i].outcome = compressor.Compress(parts[i], groupFirst, finalPart);
                if (parts[i].outcome != PartOutcome::Done) {
                    failed = true;
                }
            }
        } catch (const std::bad_alloc&) {
            failed = true;  // the part being worked on stays Pending
        }
    });
}

// Whether rows of `format` are read as straight-alpha QRgb as they are.
bool ReadsDirectly(QImage::Format format, bool opaque) {
    return format == QImage::Format_ARGB32 || format == QImage::Format_RGB32 ||
           (opaque && format == QImage::Format_ARGB32_Premultiplied);
}

}  // namespace

struct PngStreamEncoder::Stream {
    Stream(int width, int height, bool opaque, PngSink sink, std::size_t maxBytes,
           const platform::ThreadStarter& start)
        : width(width),
          height(height),
          opaque(opaque),
          channels(opaque ? 3 : 4),
          rowBytes(static_cast<std::size_t>(std::max(width, 0)) * channels),
          sink(std::move(sink)),
          maxBytes(maxBytes),
          start(start) {}

    // Hands `bytes` to the sink, counted; false once the sink refused.
    bool Emit(std::span<const std::uint8_t> bytes) {
        if (failed || !sink(bytes)) {
            failed = true;
            return false;
        }
        produced += bytes.size();
        return true;
    }

    bool EmitHeader() {
        std::array<std::uint8_t, kSignature.size() + kChunkOverhead + kIhdrSize> bytes{};
        std::copy(kSignature.begin(), kSignature.end(), bytes.begin());
        std::uint8_t* chunk = bytes.data() + kSignature.size();
        PutBigEndian(chunk, static_cast<std::uint32_t>(kIhdrSize));
        std::memcpy(chunk + 4, "IHDR", 4);
        PutBigEndian(chunk + 8, static_cast<std::uint32_t>(width));
        PutBigEndian(chunk + 12, static_cast<std::uint32_t>(height));
        chunk[16] = 8;               // bits per sample
        chunk[17] = opaque ? 2 : 6;  // truecolour, or truecolour with alpha
        // Deflate, adaptive filtering, no interlace: all zero.
        PutBigEndian(chunk + 8 + kIhdrSize, crc32_gzip_refl(0, chunk + 4, 4 + kIhdrSize));
        return Emit(bytes);
    }

    // Rows [first, first + count) of `rows` as one IDAT chunk, count at most kRowsPerGroup.
    bool AddGroup(const QImage& rows, int first, int count) {
        const bool firstGroup = rowsDone == 0;
        const bool finalGroup = rowsDone + count == height;
        // What the file needs besides this group's deflate data: this chunk's frame, the zlib
        // header before the first group, the checksum after the last, and IEND.
        const std::size_t frame = kChunkOverhead + (firstGroup ? kZlibHeader.size() : 0) +
                                  (finalGroup ? kAdlerBytes : 0) + kChunkOverhead;
        if (produced + frame >= maxBytes) {
            failed = true;
            return false;
        }
        const std::size_t deflateRoom = maxBytes - produced - frame;
        parts.clear();
        std::size_t allRoom = 0;
        for (int top = first; top < first + count; top += kRowsPerPart) {
            Part part;
            part.first = top;
            part.last = std::min(first + count, top + kRowsPerPart);
            part.filteredBytes = static_cast<std::size_t>(part.last - part.first) * (1 + rowBytes);
            // More room than a part can take, even stored, but never beyond the cap. A block
            // this large is mapped afresh, so room a part leaves untouched costs no memory.
            part.room = std::min(part.filteredBytes + part.filteredBytes / 8 + 1024,
                                 deflateRoom + kMaxFlushBytes);
            allRoom += part.room;
            parts.push_back(part);
        }
        if (allRoom > roomSize) {
            room.reset();
            room = std::make_unique_for_overwrite<std::uint8_t[]>(allRoom);
            roomSize = allRoom;
        }
        for (std::size_t i = 0, offset = 0; i < parts.size(); offset += parts[i++].room) {
            parts[i].out = room.get() + offset;
        }
        const int hardware = static_cast<int>(std::thread::hardware_concurrency());
        helpers.Start(
            std::clamp(std::min(hardware, kMaxThreads), 1, kRowsPerGroup / kRowsPerPart) - 1,
            start);
        CompressParts(rows, channels, above, first, finalGroup, parts, helpers);
        std::size_t deflated = 0;
        for (const Part& part : parts) {
            if (part.outcome == PartOutcome::Pending) {
                throw std::bad_alloc();  // a thread ran out of memory
            }
            if (part.outcome == PartOutcome::TooLarge) {
                failed = true;
                return false;
            }
            deflated += part.size;
        }
        if (deflated > deflateRoom) {
            failed = true;
            return false;
        }
        for (const Part& part : parts) {
            adler = static_cast<std::uint32_t>(
                adler32_combine(adler, part.adler, static_cast<z_off_t>(part.filteredBytes)));
        }
        ToSamples(reinterpret_cast<const QRgb*>(rows.constScanLine(first + count - 1)), width,
                  channels, above.data());
        rowsDone += count;
        return EmitChunk(firstGroup, finalGroup, deflated);
    }

    bool EmitChunk(bool firstGroup, bool finalGroup, std::size_t deflated) {
        const std::size_t size =
            (firstGroup ? kZlibHeader.size() : 0) + deflated + (finalGroup ? kAdlerBytes : 0);
        std::uint8_t start[8];
        PutBigEndian(start, static_cast<std::uint32_t>(size));
        std::memcpy(start + 4, "IDAT", 4);
        std::uint32_t crc = crc32_gzip_refl(0, start + 4, 4);
        const auto add = [&](std::span<const std::uint8_t> bytes) {
            crc = crc32_gzip_refl(crc, bytes.data(), bytes.size());
            return Emit(bytes);
        };
        if (!Emit(start) || (firstGroup && !add(kZlibHeader))) {
            return false;
        }
        for (const Part& part : parts) {
            if (!add({part.out, part.size})) {
                return false;
            }
        }
        std::uint8_t trailer[kAdlerBytes];
        PutBigEndian(trailer, adler);
        if (finalGroup && !add(trailer)) {
            return false;
        }
        std::uint8_t end[4];
        PutBigEndian(end, crc);
        return Emit(end);
    }

    const int width;
    const int height;
    const bool opaque;
    const int channels;
    const std::size_t rowBytes;
    const PngSink sink;
    const std::size_t maxBytes;
    const platform::ThreadStarter start;
    int rowsDone = 0;
    std::size_t produced = 0;
    std::uint32_t adler = 1;
    bool failed = false;
    // The samples of the last row compressed: the filter's row above the next group.
    std::vector<std::uint8_t> above = std::vector<std::uint8_t>(rowBytes, 0);
    std::vector<Part> parts;
    std::unique_ptr<std::uint8_t[]> room;
    std::size_t roomSize = 0;
    // Last, so that the helpers end before the members they use.
    Helpers helpers;
};

PngStreamEncoder::PngStreamEncoder(int width, int height, bool opaque, PngSink sink,
                                   std::size_t maxBytes, const platform::ThreadStarter& start)
    : stream_(std::make_unique<Stream>(width, height, opaque, std::move(sink), maxBytes, start)) {
    // A chunk holds at most 2^31 - 1 bytes, and a group's room, more than twice its rows, must
    // fit; igzip's counts of one step's bytes, 32 bits, then fit too.
    const bool fits = stream_->rowBytes + 1 <= kMaxChunkBytes / (2 * kRowsPerGroup);
    if (width <= 0 || height <= 0 || !fits || !stream_->EmitHeader()) {
        stream_->failed = true;
    }
}

PngStreamEncoder::~PngStreamEncoder() = default;

bool PngStreamEncoder::AddRows(const QImage& rows, int first, int count) {
    Stream& s = *stream_;
    if (s.failed || rows.width() != s.width || first < 0 || count < 0 ||
        first > rows.height() - count || count > s.height - s.rowsDone) {
        s.failed = true;
        return false;
    }
    QImage converted;
    if (!ReadsDirectly(rows.format(), s.opaque)) {
        converted = rows.copy(0, first, rows.width(), count)
                        .convertToFormat(s.opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32);
        if (converted.isNull()) {
            throw std::bad_alloc();
        }
        first = 0;
    }
    const QImage& source = converted.isNull() ? rows : converted;
    for (int top = first; top < first + count; top += kRowsPerGroup) {
        if (!s.AddGroup(source, top, std::min(kRowsPerGroup, first + count - top))) {
            return false;
        }
    }
    return true;
}

bool PngStreamEncoder::Finish() {
    Stream& s = *stream_;
    if (s.failed || s.rowsDone != s.height) {
        return false;
    }
    std::uint8_t end[kChunkOverhead] = {0, 0, 0, 0, 'I', 'E', 'N', 'D'};
    PutBigEndian(end + 8, crc32_gzip_refl(0, end + 4, 4));
    const bool written = s.Emit(end) && s.produced <= s.maxBytes;
    s.failed = true;  // finished: takes nothing more
    return written;
}

Bytes EncodePng(const QImage& image, std::size_t maxBytes, const platform::ThreadStarter& start) {
    if (image.isNull()) {
        return {};
    }
    const bool opaque = IsOpaque(image);
    Bytes png;
    PngStreamEncoder encoder(
        image.width(), image.height(), opaque,
        [&](std::span<const std::uint8_t> bytes) {
            png.insert(png.end(), bytes.begin(), bytes.end());
            return true;
        },
        maxBytes, start);
    if (!encoder.AddRows(image, 0, image.height()) || !encoder.Finish()) {
        return {};
    }
    return png;
}

}  // namespace mirvane
