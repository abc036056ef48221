// How a painted push button looks in each of its states: flat face, centred caption, no border.
#pragma once

#include <QRect>
#include <QRectF>
#include <QRgb>
#include <QSize>

namespace mirvane::shell {

inline constexpr QRgb kButtonFace = 0xffe1d3d5;        // face of a secondary button
inline constexpr QRgb kButtonLabelLight = 0xfffff8e8;  // caption of a primary button

// Compose sheet, Export PNG and the open-pair window's Open pair; every other is secondary.
bool IsPrimaryButton(int controlId);

struct ButtonLook {
    QRgb face;
    QRgb caption;
};

// Ink or button face, accent while pressed; a light or body caption, muted when disabled. A
// pressed button keeps its caption colour.
ButtonLook ButtonLookFor(bool primary, bool pressed, bool enabled);

// Where the caption is centred and wraps: 4 pixels in from either side, full height.
QRectF CaptionRect(QSize button);

// The focus rectangle's outline pixels: 3 pixels inside the button's edge on every side.
QRect FocusRect(QSize button);

}  // namespace mirvane::shell
