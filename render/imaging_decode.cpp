#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QTransform>
#include <algorithm>
#include <array>
#include <mutex>

#include "archive/photo_limits.h"
#include "render/bmp_layout.h"
#include "render/exif.h"
#include "render/imaging.h"
#include "render/jpeg_decoder.h"
#include "render/png_decoder.h"
#include "render/png_layout.h"

namespace mirvane::imaging {
namespace {

bool StartsWith(ByteView bytes, std::initializer_list<std::uint8_t> magic) {
    return bytes.size() >= magic.size() && std::equal(magic.begin(), magic.end(), bytes.begin());
}

// The format is told from the content, like any careful viewer does, never from a name.
RawFormat SniffFormat(ByteView bytes) {
    if (StartsWith(bytes, {0xff, 0xd8, 0xff})) {
        return RawFormat::Jpeg;
    }
    if (StartsWith(bytes, {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'})) {
        return RawFormat::Png;
    }
    if (StartsWith(bytes, {'B', 'M'})) {
        return RawFormat::Bmp;
    }
    if (StartsWith(bytes, {'G', 'I', 'F', '8'})) {
        return RawFormat::Gif;
    }
    if (StartsWith(bytes, {'I', 'I', '*', 0}) || StartsWith(bytes, {'M', 'M', 0, '*'})) {
        return RawFormat::Tiff;
    }
    return bytes.empty() ? RawFormat::Unknown : RawFormat::Other;
}

const char* QtFormatName(RawFormat format) {
    switch (format) {
        case RawFormat::Jpeg:
            return "jpeg";
        case RawFormat::Png:
            return "png";
        case RawFormat::Bmp:
            return "bmp";
        default:
            return nullptr;
    }
}

// A reader over the caller's bytes, without copying them.
class ByteReader {
  public:
    ByteReader(ByteView bytes, RawFormat format)
        : data_(QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                        static_cast<qsizetype>(bytes.size()))),
          buffer_(&data_) {
        buffer_.open(QIODevice::ReadOnly);
        reader_.setDevice(&buffer_);
        reader_.setFormat(QtFormatName(format));
        reader_.setDecideFormatFromContent(false);
        reader_.setAutoTransform(false);
    }
    QImageReader& Reader() { return reader_; }

  private:
    QByteArray data_;
    QBuffer buffer_;
    QImageReader reader_;
};

// Qt's decoders refuse a picture whose pixels would need more than this many MiB, counted at
// no less than 4 bytes a pixel: exactly what the largest picture we accept needs, rounded up to
// the next MiB, and no more. Our own caps refuse anything larger before Qt sees it; this one
// stands behind them.
constexpr int kQtAllocationLimitMiB =
    static_cast<int>((kMaxPhotoPixels * 4 + (std::int64_t{1} << 20) - 1) >> 20);

// The limit is process-wide and read by every decode on every thread: it is written once.
void SetQtAllocationLimit() {
    static std::once_flag once;
    std::call_once(once, [] { QImageReader::setAllocationLimit(kQtAllocationLimitMiB); });
}

// Qt decodes only BMP for us; JPEG and PNG have decoders of their own.
Status DecodeBmpWithQt(ByteView bytes, QImage* out) {
    if (!BmpPixelDataIsComplete(bytes)) {
        return Status::DecodeFailed;
    }
    SetQtAllocationLimit();
    ByteReader byteReader(bytes, RawFormat::Bmp);
    QImage image;
    if (!byteReader.Reader().read(&image)) {
        return Status::DecodeFailed;
    }
    const QImage::Format target =
        image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    if (image.format() != target) {
        image.convertTo(target);
    }
    if (image.isNull()) {
        return Status::OutOfMemory;
    }
    *out = std::move(image);
    return Status::Ok;
}

QImage::Format QtPixelFormat(PixelFormat format) {
    return format == PixelFormat::Argb32 ? QImage::Format_ARGB32
                                         : QImage::Format_ARGB32_Premultiplied;
}

}  // namespace

std::optional<ImageHeader> ReadImageHeader(ByteView bytes) {
    ImageHeader header;
    header.format = SniffFormat(bytes);
    if (QtFormatName(header.format) == nullptr) {
        // Any other format is refused by the caller; its size is of no interest.
        return header;
    }
    // Each size comes from our own reading of the header: Qt's PNG reader would inflate every
    // compressed text chunk before it, unbounded, only to report the size, and its BMP reader
    // reports a top-down file's height as negative.
    std::optional<QSize> stored;
    switch (header.format) {
        case RawFormat::Jpeg:
            stored = jpeg::ReadSize(bytes);
            break;
        case RawFormat::Png:
            stored = png::ReadSize(bytes);
            break;
        default:
            stored = BmpStoredSize(bytes);
            break;
    }
    if (!stored) {
        return std::nullopt;
    }
    const QSize size = *stored;
    if (size.width() <= 0 || size.height() <= 0) {
        return std::nullopt;
    }
    header.width = size.width();
    header.height = size.height();
    // Only JPEG carries an orientation tag we read; for PNG and BMP this stays 0.
    if (header.format == RawFormat::Jpeg) {
        header.orientation = ReadExifOrientation(bytes);
    }
    return header;
}

Status DecodeBitmap(ByteView bytes, const ImageHeader& header, QSize atLeast, Bitmap* out) {
    QImage image;
    Status status = Status::UnknownImageFormat;
    if (header.format == RawFormat::Jpeg) {
        status = jpeg::Decode(bytes, QSize(header.width, header.height), atLeast, &image);
    } else if (header.format == RawFormat::Png) {
        status = PngChunksFitInFile(bytes)
                     ? png::Decode(bytes, QSize(header.width, header.height), &image)
                     : Status::DecodeFailed;
    } else if (header.format == RawFormat::Bmp) {
        status = DecodeBmpWithQt(bytes, &image);
        if (status == Status::Ok && image.size() != QSize(header.width, header.height)) {
            status = Status::DecodeFailed;
        }
    }
    if (status == Status::Ok) {
        *out = Bitmap(std::move(image));
    }
    return status;
}

RotateFlipType RotateFlipForOrientation(int orientation) {
    static constexpr std::array<RotateFlipType, 9> kTable = {
        RotateFlipType::RotateNoneFlipNone, RotateFlipType::RotateNoneFlipNone,
        RotateFlipType::RotateNoneFlipX,    RotateFlipType::Rotate180FlipNone,
        RotateFlipType::Rotate180FlipX,     RotateFlipType::Rotate90FlipX,
        RotateFlipType::Rotate90FlipNone,   RotateFlipType::Rotate270FlipX,
        RotateFlipType::Rotate270FlipNone,
    };
    if (orientation < 0 || orientation >= static_cast<int>(kTable.size())) {
        return RotateFlipType::RotateNoneFlipNone;
    }
    return kTable[static_cast<std::size_t>(orientation)];
}

Status RotateFlip(Bitmap& bitmap, RotateFlipType type) {
    if (bitmap.IsNull()) {
        return Status::InvalidParameter;
    }
    const int code = static_cast<int>(type);
    if (code < 0 || code > 7) {
        return Status::InvalidParameter;
    }
    if (type == RotateFlipType::RotateNoneFlipNone) {
        return Status::Ok;
    }
    // Types 0-3 turn clockwise by 0, 90, 180 or 270 degrees; 4-7 do the same, then mirror
    // left-right.
    const int quarterTurns = code % 4;
    const bool flipX = code >= 4;
    QImage image = bitmap.Image();
    if (quarterTurns == 2) {
        image = image.mirrored(!flipX, true);
    } else {
        if (quarterTurns != 0) {
            image = image.transformed(QTransform().rotate(90.0 * quarterTurns));
        }
        if (flipX) {
            image = image.mirrored(true, false);
        }
    }
    if (image.isNull()) {
        return Status::OutOfMemory;
    }
    bitmap = Bitmap(std::move(image));
    return Status::Ok;
}

Status CreateBitmap(int width, int height, PixelFormat format, Bitmap* out) {
    if (width <= 0 || height <= 0) {
        return Status::InvalidParameter;
    }
    QImage image(width, height, QtPixelFormat(format));
    if (image.isNull()) {
        return Status::OutOfMemory;
    }
    image.fill(Qt::transparent);
    *out = Bitmap(std::move(image));
    return Status::Ok;
}

Status ResampleHighQuality(const Bitmap& source, QSize size, PixelFormat format, Bitmap* out) {
    if (source.IsNull() || size.isEmpty()) {
        return Status::InvalidParameter;
    }
    // Qt's smooth scaling averages every source pixel under a destination pixel when shrinking;
    // a painter's bilinear draw would sample only four of them and alias.
    QImage image = source.Size() == size ? source.Image()
                                         : source.Image().scaled(size, Qt::IgnoreAspectRatio,
                                                                 Qt::SmoothTransformation);
    if (!image.isNull()) {
        image.convertTo(QtPixelFormat(format));
    }
    if (image.isNull()) {
        return Status::OutOfMemory;
    }
    *out = Bitmap(std::move(image));
    return Status::Ok;
}

}  // namespace mirvane::imaging
