// The imaging layer: every decode, surface and resample of the program goes through here, over
// QImage and libjpeg-turbo. Each operation reports a Status; nothing throws.
#pragma once

#include <QImage>
#include <QSize>
#include <cstdint>
#include <optional>
#include <span>

namespace mirvane::imaging {

using ByteView = std::span<const std::uint8_t>;

enum class Status {
    Ok,
    InvalidParameter,
    OutOfMemory,
    UnknownImageFormat,
    // The data claims a known format but is truncated or corrupt.
    DecodeFailed,
    // A drawing call on a context that has no surface to draw on, or an unbalanced restore.
    WrongState,
    // No font family to draw text with: the bundled fonts were never registered.
    FontFamilyNotFound,
};

// The encoded format as the file's content says, whatever its name.
enum class RawFormat { Unknown, Jpeg, Png, Bmp, Gif, Tiff, Other };

// The two 32-bit layouts: straight alpha for export, premultiplied for the screen and previews.
enum class PixelFormat { Argb32, Pargb32 };

// Turns applied to a decoded picture, numbered as the platform's rotate/flip types.
enum class RotateFlipType : int {
    RotateNoneFlipNone = 0,
    Rotate90FlipNone = 1,
    Rotate180FlipNone = 2,
    Rotate270FlipNone = 3,
    RotateNoneFlipX = 4,
    Rotate90FlipX = 5,
    Rotate180FlipX = 6,
    Rotate270FlipX = 7,
};

// What a file's header says, read without decoding a single pixel.
struct ImageHeader {
    RawFormat format = RawFormat::Unknown;
    int width = 0;  // as stored, before any orientation turn
    int height = 0;
    int orientation = 0;  // EXIF tag 274, 0 when absent or unreadable
};

// A decoded picture with one owner. Copies are deliberate (`Clone`), never implicit.
class Bitmap {
  public:
    Bitmap() = default;
    explicit Bitmap(QImage image) : image_(std::move(image)) {}
    Bitmap(Bitmap&&) noexcept = default;
    Bitmap& operator=(Bitmap&&) noexcept = default;
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    bool IsNull() const { return image_.isNull(); }
    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }
    QSize Size() const { return image_.size(); }
    const QImage& Image() const { return image_; }
    QImage& Image() { return image_; }

  private:
    QImage image_;
};

// Format, stored size and orientation. Fails on data that is no JPEG, PNG or BMP we can read.
std::optional<ImageHeader> ReadImageHeader(ByteView bytes);

// Decodes the pixels described by `header`. A JPEG may be decoded at 1/2, 1/4 or 1/8 of its
// stored size: the smallest of those scales that is still at least `atLeast` (stored
// orientation) on both sides; an empty `atLeast` asks for the full size. Truncated and corrupt
// data fail: no half-decoded picture is ever returned.
Status DecodeBitmap(ByteView bytes, const ImageHeader& header, QSize atLeast, Bitmap* out);

// Turns a bitmap in place; RotateNoneFlipNone leaves it as it is.
Status RotateFlip(Bitmap& bitmap, RotateFlipType type);

// The rotate/flip type that makes a picture of the given EXIF orientation upright; 1, 0, 9 and
// above need no turn.
RotateFlipType RotateFlipForOrientation(int orientation);

// A new surface of the given size and format, every pixel transparent black.
Status CreateBitmap(int width, int height, PixelFormat format, Bitmap* out);

// The whole of `source` resampled to `size` with a proper area filter (no aliasing when
// shrinking), in `format`.
Status ResampleHighQuality(const Bitmap& source, QSize size, PixelFormat format, Bitmap* out);

}  // namespace mirvane::imaging
