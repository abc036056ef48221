// Looking at drawn pixels: colours, the box around those of one kind, and flat areas.
#pragma once

#include <QImage>
#include <QRect>
#include <functional>

namespace mirvane::testing {

// The colour of a pixel with its alpha forced opaque.
inline QRgb Opaque(const QImage& image, int x, int y) {
    return image.pixel(x, y) | 0xff000000u;
}

// The smallest rectangle holding every pixel of `area` for which `is` holds; empty if none.
inline QRect BoundsOf(const QImage& image, const QRect& area, const std::function<bool(QRgb)>& is) {
    QRect bounds;
    const QRect clipped = area & image.rect();
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            if (is(image.pixel(x, y))) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

inline std::function<bool(QRgb)> Exactly(QRgb colour) {
    return [colour](QRgb p) { return p == colour; };
}

inline std::function<bool(QRgb)> Other(QRgb colour) {
    return [colour](QRgb p) { return p != colour; };
}

inline bool AllOf(const QImage& image, const QRect& area, QRgb colour) {
    return BoundsOf(image, area, Other(colour)).isEmpty();
}

}  // namespace mirvane::testing
