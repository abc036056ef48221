#include "shell/painted_text.h"

#include <utility>

namespace mirvane::shell {

PaintedText::PaintedText(QWidget& window, QAccessible::Role role, Read text, Place place,
                         Read description)
    : QWidget(&window),
      role_(role),
      text_(std::move(text)),
      place_(std::move(place)),
      description_(std::move(description)) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    Follow(window.size());
}

void PaintedText::Follow(QSize windowSize) {
    // Qt's logical pixels are the painting's DIPs.
    const QRectF rect =
        place_(static_cast<float>(windowSize.width()), static_cast<float>(windowSize.height()));
    setGeometry(rect.toAlignedRect());
}

}  // namespace mirvane::shell
