#include "shell/owner_button.h"

#include <QPainter>
#include <QPen>
#include <QPolygon>

#include "render/fonts.h"
#include "render/graphics.h"
#include "shell/button_look.h"
#include "shell/controls.h"

namespace mirvane::shell {
namespace {

// Every other pixel of the outline, in a checkerboard like the system's focus rectangle, in the
// caption's colour so that it shows on every face.
void DrawFocusRectangle(QPaintDevice& target, const QRect& outline, QRgb colour) {
    QPolygon dots;
    const auto dot = [&dots](int x, int y) {
        if ((x + y) % 2 == 0) {
            dots << QPoint(x, y);
        }
    };
    for (int x = outline.left(); x <= outline.right(); ++x) {
        dot(x, outline.top());
        dot(x, outline.bottom());
    }
    for (int y = outline.top() + 1; y < outline.bottom(); ++y) {
        dot(outline.left(), y);
        dot(outline.right(), y);
    }
    QPainter painter(&target);
    painter.setPen(QPen(QColor::fromRgba(colour), 0));  // cosmetic: one device pixel a dot
    painter.drawPoints(dots);
}

}  // namespace

void DrawOwnerButton(QPaintDevice& target, const OwnerButtonState& state) {
    const ButtonLook look = ButtonLookFor(state.primary, state.pressed, state.enabled);
    {
        imaging::Graphics graphics(target);
        graphics.SetTextRenderingHint(imaging::TextRenderingHint::ClearTypeGridFit);
        graphics.FillRectangle(imaging::SolidBrush(look.face), QRectF(QPointF(0, 0), state.size));
        const imaging::Font font{SheetFontFamily(), 13, imaging::FontStyle::Regular};
        const imaging::TextFormat format{true, imaging::TextAlignment::Centered};
        graphics.DrawString(state.caption, CaptionRect(state.size), font, look.caption, format);
    }
    if (state.focused) {
        DrawFocusRectangle(target, FocusRect(state.size), look.caption);
    }
}

OwnerButton::OwnerButton(int controlId, const QString& caption, QWidget* parent)
    : QAbstractButton(parent), primary_(IsPrimaryButton(controlId)) {
    SetControlId(*this, controlId);
    setText(caption);
    setFocusPolicy(Qt::StrongFocus);
}

QSize OwnerButton::sizeHint() const {
    // The layout gives every button its size; this only serves a button shown on its own.
    return QSize(120, 36);
}

void OwnerButton::paintEvent(QPaintEvent*) {
    DrawOwnerButton(*this,
                    OwnerButtonState{size(), text(), primary_, isDown(), isEnabled(), hasFocus()});
}

}  // namespace mirvane::shell
