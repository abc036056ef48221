#include "render/graphics.h"

#include <QLinearGradient>
#include <cmath>

namespace mirvane::imaging {
namespace {

bool IsFinite(const QRectF& rect) {
    return std::isfinite(rect.x()) && std::isfinite(rect.y()) && std::isfinite(rect.width()) &&
           std::isfinite(rect.height());
}

bool IsFinite(QPointF point) {
    return std::isfinite(point.x()) && std::isfinite(point.y());
}

// Pixel boundaries are at whole numbers; a mapped edge goes to the nearest one.
int NearestBoundary(qreal edge) {
    return static_cast<int>(std::floor(edge + 0.5));
}

}  // namespace

Status ShrinkForDrawing(QImage& image, QSize covered) {
    if (image.isNull() || covered.isEmpty()) {
        return Status::InvalidParameter;
    }
    if (image.width() <= covered.width() && image.height() <= covered.height()) {
        return Status::Ok;
    }
    // Qt's smooth scaling averages every source pixel under a target pixel when shrinking.
    QImage shrunk = image.scaled(covered, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (shrunk.isNull()) {
        return Status::OutOfMemory;
    }
    image = std::move(shrunk);
    return Status::Ok;
}

QBrush SolidBrush(QRgb argb) {
    return QBrush(QColor::fromRgba(argb));
}

QBrush LinearGradientBrush(QPointF start, QPointF end, QRgb from, QRgb to) {
    QLinearGradient gradient(start, end);
    gradient.setColorAt(0.0, QColor::fromRgba(from));
    gradient.setColorAt(1.0, QColor::fromRgba(to));
    gradient.setSpread(QGradient::RepeatSpread);
    return QBrush(gradient);
}

QPen SolidPen(QRgb argb, float width) {
    // Flat caps: a line ends exactly at its end points.
    return QPen(QBrush(QColor::fromRgba(argb)), width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
}

QRect CoveredDevicePixels(const QTransform& transform, const QRectF& rect) {
    const QRectF mapped = transform.mapRect(rect);
    // Coordinates this far out are no picture anyone can see; refuse them before they overflow.
    constexpr qreal kFar = 1 << 24;
    if (!IsFinite(mapped) || std::abs(mapped.left()) > kFar || std::abs(mapped.top()) > kFar ||
        std::abs(mapped.right()) > kFar || std::abs(mapped.bottom()) > kFar) {
        return QRect();
    }
    const int left = NearestBoundary(mapped.left());
    const int top = NearestBoundary(mapped.top());
    return QRect(left, top, NearestBoundary(mapped.right()) - left,
                 NearestBoundary(mapped.bottom()) - top);
}

Graphics::Graphics(Bitmap& target) : Graphics(target.Image()) {}

Graphics::Graphics(QPaintDevice& device) {
    const bool hasSurface = device.width() > 0 && device.height() > 0;
    if (!hasSurface || !painter_.begin(&device)) {
        lastStatus_ = Status::InvalidParameter;
        return;
    }
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

Status Graphics::Record(Status status) {
    if (status != Status::Ok) {
        lastStatus_ = status;
    }
    return status;
}

GraphicsState Graphics::Save() {
    if (!painter_.isActive()) {
        Record(Status::WrongState);
        return -1;
    }
    painter_.save();
    saved_.push_back(settings_);
    return static_cast<GraphicsState>(saved_.size()) - 1;
}

Status Graphics::Restore(GraphicsState state) {
    if (!painter_.isActive() || state < 0 || static_cast<std::size_t>(state) >= saved_.size()) {
        return Record(Status::WrongState);
    }
    while (saved_.size() > static_cast<std::size_t>(state)) {
        painter_.restore();
        settings_ = saved_.back();
        saved_.pop_back();
    }
    return Status::Ok;
}

Status Graphics::SetSmoothingMode(SmoothingMode mode) {
    if (!painter_.isActive()) {
        return Record(Status::WrongState);
    }
    painter_.setRenderHint(QPainter::Antialiasing, mode == SmoothingMode::AntiAlias);
    return Status::Ok;
}

Status Graphics::SetTextRenderingHint(TextRenderingHint) {
    if (!painter_.isActive()) {
        return Record(Status::WrongState);
    }
    // Either hint is grey-scale anti-aliasing, which is always on (see the enum).
    return Status::Ok;
}

Status Graphics::SetInterpolationMode(InterpolationMode mode) {
    if (!painter_.isActive()) {
        return Record(Status::WrongState);
    }
    settings_.interpolation = mode;
    return Status::Ok;
}

Status Graphics::ScaleTransform(float sx, float sy) {
    if (!painter_.isActive()) {
        return Record(Status::WrongState);
    }
    if (!std::isfinite(sx) || !std::isfinite(sy)) {
        return Record(Status::InvalidParameter);
    }
    painter_.scale(sx, sy);  // QPainter puts the new step before the current transform
    return Status::Ok;
}

Status Graphics::TranslateTransform(float dx, float dy) {
    if (!painter_.isActive()) {
        return Record(Status::WrongState);
    }
    if (!std::isfinite(dx) || !std::isfinite(dy)) {
        return Record(Status::InvalidParameter);
    }
    painter_.translate(dx, dy);
    return Status::Ok;
}

Status Graphics::FillRectangle(const QBrush& brush, const QRectF& rect) {
    if (!painter_.isActive()) {
        return Record(Status::WrongState);
    }
    if (!IsFinite(rect)) {
        return Record(Status::InvalidParameter);
    }
    if (rect.width() > 0 && rect.height() > 0) {
        painter_.fillRect(rect, brush);
    }
    return Status::Ok;
}

Status Graphics::DrawLine(const QPen& pen, QPointF from, QPointF to) {
    if (!painter_.isActive()) {
        return Record(Status::WrongState);
    }
    if (!IsFinite(from) || !IsFinite(to)) {
        return Record(Status::InvalidParameter);
    }
    painter_.setPen(pen);
    painter_.drawLine(QLineF(from, to));
    painter_.setPen(Qt::NoPen);
    return Status::Ok;
}

Status Graphics::DrawImage(const Bitmap& image, int x, int y) {
    return DrawImage(image, QRectF(x, y, image.Width(), image.Height()),
                     QRectF(0, 0, image.Width(), image.Height()));
}

Status Graphics::DrawImage(const Bitmap& image, const QRect& rect) {
    return DrawImage(image, QRectF(rect), QRectF(0, 0, image.Width(), image.Height()));
}

Status Graphics::DrawImage(const Bitmap& image, const QRectF& destination, const QRectF& source) {
    if (!painter_.isActive()) {
        return Record(Status::WrongState);
    }
    const QRectF whole(0, 0, image.Width(), image.Height());
    if (image.IsNull() || !IsFinite(destination) || !IsFinite(source) || source.isEmpty() ||
        !whole.contains(source)) {
        return Record(Status::InvalidParameter);
    }
    if (destination.width() <= 0 || destination.height() <= 0) {
        return Status::Ok;
    }
    const QTransform device = painter_.deviceTransform();
    const bool axisAligned =
        device.type() <= QTransform::TxScale && device.m11() > 0 && device.m22() > 0;
    if (settings_.interpolation == InterpolationMode::HighQuality && axisAligned) {
        return Record(DrawHighQuality(image.Image(), destination, source));
    }
    painter_.drawImage(destination, image.Image(), source);
    return Status::Ok;
}

Status Graphics::DrawHighQuality(const QImage& image, const QRectF& destination,
                                 const QRectF& source) {
    const QRect target = CoveredDevicePixels(painter_.deviceTransform(), destination);
    if (target.isEmpty()) {
        return Status::Ok;
    }
    const QRect pixels = source.toAlignedRect();
    QImage part = pixels == image.rect() ? image : image.copy(pixels);
    if (part.isNull() || ShrinkForDrawing(part, target.size()) != Status::Ok) {
        return Status::OutOfMemory;
    }
    // Drawn in device pixels, whatever the world transform and the device's pixel ratio: a
    // copy, or an enlargement with the painter's bilinear filter, which cannot alias.
    painter_.save();
    const qreal ratio = painter_.device()->devicePixelRatioF();
    painter_.setWorldTransform(QTransform::fromScale(1 / ratio, 1 / ratio));
    painter_.drawImage(QRectF(target), part, QRectF(part.rect()));
    painter_.restore();
    return Status::Ok;
}

}  // namespace mirvane::imaging
