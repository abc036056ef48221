// Where the main window's child controls sit for a given client size.
#pragma once

#include <QRectF>
#include <QWidget>
#include <array>

namespace mirvane::shell {

// One control's place, in device-independent pixels of the client area.
struct ControlPlacement {
    int id;
    QRectF rect;
};

inline constexpr std::size_t kPlacedControlCount = 11;

// Every placed control for a client area of w x h device-independent pixels, in the order they
// are placed. The left column is anchored left and top, the year list stretches with the height,
// the two selectors and the three top buttons follow the right edge, and the two export buttons
// sit at a fixed x near the bottom. The selectors' heights are those of their dropped-down lists.
std::array<ControlPlacement, kPlacedControlCount> ControlLayout(float w, float h);

// The widget geometry of a logical rectangle: each value rounded on its own, halves away from
// zero. Qt places children in device-independent pixels and scales them to the screen itself.
QRect PlacedGeometry(const QRectF& rect);

// Moves the control `id` of `window` to `rect` (logical units); nothing when there is no such
// control. A selector gets its closed height, as its drop-down list sizes itself.
void PlaceControl(QWidget& window, int id, const QRectF& rect);

// Places every control of ControlLayout for the window's current size.
void LayoutControls(QWidget& window);

}  // namespace mirvane::shell
