// The main window's own painting: background, header, labels, the sheet preview and the footer
// with the status line and the clock. Everything is read at paint time and nothing survives a
// paint.
#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>

#include "render/graphics.h"

namespace mirvane::shell {

// The whole paint of `window` for a repaint of `dirtyRect` (logical). A dirty area starting in
// the footer band repaints only the band, straight onto the window; anything else composes the
// whole client area in one back buffer of device-pixel size and copies it 1:1.
void PaintMainWindow(QWidget& window, const QRect& dirtyRect, int columns);

// The footer band as a logical rectangle: what the clock's once-a-second update() repaints. Its
// repaint always takes the footer-only path.
QRect FooterBandRect(const QWidget& window);

// The whole client area of a window of `logicalSize` at `scale`, as PaintMainWindow composes it:
// device pixels, with the device pixel ratio set to `scale`.
QImage ComposeWindowImage(QSize logicalSize, float scale, int columns);

// The footer band: paper, the status line and the clock. `graphics` maps DIPs to pixels;
// w x h is the client area in DIPs.
void PaintFooterBand(imaging::Graphics& graphics, float w, float h);

}  // namespace mirvane::shell
