// An unpainted child standing over a text that the window paints itself, so that assistive tools
// find it where it shows and read it. It paints nothing and lets the mouse and drops through.
#pragma once

#include <QAccessible>
#include <QRectF>
#include <QWidget>
#include <functional>

namespace mirvane::shell {

class PaintedText : public QWidget {
  public:
    using Read = std::function<QString()>;
    // Where the text is painted, in DIPs of a client area of w x h DIPs.
    using Place = std::function<QRectF(float w, float h)>;

    // `text` and `description` are read whenever a tool asks, so they follow the language and
    // the window's state without being told; `description` may be empty.
    PaintedText(QWidget& window, QAccessible::Role role, Read text, Place place,
                Read description = {});

    QAccessible::Role Role() const { return role_; }
    QString Text() const { return text_ ? text_() : QString(); }
    QString Description() const { return description_ ? description_() : QString(); }

    // Follows the window's size.
    void Follow(QSize windowSize);

  private:
    const QAccessible::Role role_;
    const Read text_;
    const Place place_;
    const Read description_;
};

}  // namespace mirvane::shell
