// A drawing context over one surface: fills, gradients, lines, pictures and text, each reporting
// a Status. A failing call leaves its status in the context's last-status slot and changes
// nothing else, so a caller can draw on and look once at the end.
#pragma once

#include <QBrush>
#include <QPainter>
#include <QPen>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QString>
#include <QTransform>
#include <vector>

#include "render/imaging.h"

namespace mirvane::imaging {

enum class SmoothingMode { None, AntiAlias };

// Both hints give grey-scale anti-aliased text without hinting: sub-pixel colour fringes would
// depend on the screen and make the same sheet differ between the window and a file.
enum class TextRenderingHint { AntiAliasGridFit, ClearTypeGridFit };

// HighQuality resamples a picture to the exact pixels it covers with an area filter before it
// is drawn, so shrinking never aliases; Bilinear lets the painter sample four source pixels.
enum class InterpolationMode { Bilinear, HighQuality };

enum class FontStyle { Regular, Bold };

// Where the lines of a text sit in their layout rectangle.
enum class TextAlignment { TopLeft, Centered };

struct TextFormat {
    bool wrap = true;  // false: one line
    TextAlignment alignment = TextAlignment::TopLeft;
};

// A text's font: a family at a size in pixels of the context's world units.
struct Font {
    QString family;
    float pixelSize = 0;
    FontStyle style = FontStyle::Regular;
};

// One saved state, for Restore.
using GraphicsState = int;

QBrush SolidBrush(QRgb argb);
// Colours run from `from` at `start` to `to` at `end` and repeat beyond the two points.
QBrush LinearGradientBrush(QPointF start, QPointF end, QRgb from, QRgb to);
// A solid pen whose width is in world units, so it scales with the transform.
QPen SolidPen(QRgb argb, float width);

// The device pixels a picture drawn into `rect` covers in HighQuality mode under `transform`: the
// mapped rectangle with its edges rounded to the nearest pixel boundary. Empty when it covers
// none.
QRect CoveredDevicePixels(const QTransform& transform, const QRectF& rect);

// What HighQuality drawing does to a picture before it copies it onto `covered` device pixels:
// a picture larger than that on either side is resampled to exactly that size with an area
// filter; any other is left alone. Safe on any thread, so a picture can be readied off the
// drawing thread; drawing it then takes no further resampling.
Status ShrinkForDrawing(QImage& image, QSize covered);

class Graphics {
  public:
    explicit Graphics(Bitmap& target);
    // Any paint device; pictures are still drawn 1:1 onto its device pixels.
    explicit Graphics(QPaintDevice& device);
    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;

    // The last failing status, Ok while every call so far succeeded.
    Status LastStatus() const { return lastStatus_; }

    // World units to device pixels.
    QTransform DeviceTransform() const { return painter_.deviceTransform(); }

    // Transform, clip and the three settings below.
    GraphicsState Save();
    // Returns to `state`, dropping every state saved after it.
    Status Restore(GraphicsState state);

    Status SetSmoothingMode(SmoothingMode mode);
    Status SetTextRenderingHint(TextRenderingHint hint);
    Status SetInterpolationMode(InterpolationMode mode);

    // Both apply before the current transform: a point is scaled (translated) first and then
    // goes through what was there.
    Status ScaleTransform(float sx, float sy);
    Status TranslateTransform(float dx, float dy);

    Status FillRectangle(const QBrush& brush, const QRectF& rect);
    Status DrawLine(const QPen& pen, QPointF from, QPointF to);

    // The whole picture at its own size at (x, y).
    Status DrawImage(const Bitmap& image, int x, int y);
    // The whole picture into `rect`.
    Status DrawImage(const Bitmap& image, const QRect& rect);
    // `source` (picture pixels) into `destination`.
    Status DrawImage(const Bitmap& image, const QRectF& destination, const QRectF& source);

    // The whole of `text` into `layout`: lines that do not fit are left out, and the last line
    // shown ends in an ellipsis, cut at a character, when text was left out or is too wide.
    Status DrawString(const QString& text, const QRectF& layout, const Font& font, QRgb argb,
                      const TextFormat& format);

  private:
    struct Settings {
        InterpolationMode interpolation = InterpolationMode::Bilinear;
    };

    Status Record(Status status);
    Status DrawHighQuality(const QImage& image, const QRectF& destination, const QRectF& source);

    QPainter painter_;
    Status lastStatus_ = Status::Ok;
    Settings settings_;
    std::vector<Settings> saved_;
};

// Saves a context's state and restores it when the scope ends, on every path.
class ScopedGraphicsState {
  public:
    explicit ScopedGraphicsState(Graphics& graphics)
        : graphics_(graphics), state_(graphics.Save()) {}
    ~ScopedGraphicsState() { graphics_.Restore(state_); }
    ScopedGraphicsState(const ScopedGraphicsState&) = delete;
    ScopedGraphicsState& operator=(const ScopedGraphicsState&) = delete;

  private:
    Graphics& graphics_;
    GraphicsState state_;
};

}  // namespace mirvane::imaging
