// Where the painted parts of the main window fall, as pure functions of its size and scale.
#pragma once

#include <QSize>

namespace mirvane::shell {

// The client area in device pixels and in device-independent pixels (DIPs).
struct ClientArea {
    QSize pixels;  // each logical side converted on its own, as the backing store sizes itself
    float scale;   // device pixels per DIP
    float w;       // pixels / scale
    float h;
};

ClientArea ClientAreaOf(QSize logicalSize, float scale);

inline constexpr float kFooterHeight = 46;

// The footer band's top in device pixels: (h - 46) x scale to the nearest integer, halves away
// from zero, for a client area `clientHeightPx` pixels high.
int FooterBandTop(int clientHeightPx, float scale);

// A repaint whose dirty area starts at or below the band's top needs only the footer.
inline bool IsFooterOnlyRepaint(int dirtyTopPx, int bandTopPx) {
    return dirtyTopPx >= bandTopPx;
}

// A logical row's top in device pixels, rounded as every other conversion is.
int DeviceTop(int logicalTop, float scale);

// The first logical row whose device top is at or below the band's top: a repaint from there
// down takes the footer-only path and still covers all of the footer's text.
int FooterBandLogicalTop(int clientHeightPx, float scale);

// The preview of a 3000-pixel sheet `sheetHeight` pixels high in the preview well of a w x h
// DIP client area: sheet pixels times k, with the origin at (ox, oy), centred, in proportion,
// at least 19 DIPs in from the well's sides and 14 from its top and bottom.
struct PreviewPlacement {
    float k;
    float ox;
    float oy;
};

PreviewPlacement PlacePreview(float w, float h, float sheetHeight);

}  // namespace mirvane::shell
