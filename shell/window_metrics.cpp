#include "shell/window_metrics.h"

#include <algorithm>
#include <cmath>

#include "shell/ui_scale.h"

namespace mirvane::shell {

ClientArea ClientAreaOf(QSize logicalSize, float scale) {
    const QSize pixels(ScaleToPixels(static_cast<float>(logicalSize.width()), scale),
                       ScaleToPixels(static_cast<float>(logicalSize.height()), scale));
    return ClientArea{pixels, scale, static_cast<float>(pixels.width()) / scale,
                      static_cast<float>(pixels.height()) / scale};
}

int FooterBandTop(int clientHeightPx, float scale) {
    const float h = static_cast<float>(clientHeightPx) / scale;
    return ScaleToPixels(h - kFooterHeight, scale);
}

int DeviceTop(int logicalTop, float scale) {
    return ScaleToPixels(static_cast<float>(logicalTop), scale);
}

int FooterBandLogicalTop(int clientHeightPx, float scale) {
    const int bandTop = FooterBandTop(clientHeightPx, scale);
    int top = static_cast<int>(std::floor(static_cast<float>(bandTop) / scale)) - 1;
    while (DeviceTop(top, scale) < bandTop) {
        ++top;
    }
    return top;
}

PreviewPlacement PlacePreview(float w, float h, float sheetHeight) {
    const float k = std::min((h - 307 - 28) / sheetHeight, (w - 362 - 38) / 3000);
    const float ox = 324 + (w - 362 - 3000 * k) * 0.5f;
    const float oy = 191 + (h - 307 - sheetHeight * k) * 0.5f;
    return PreviewPlacement{k, ox, oy};
}

}  // namespace mirvane::shell
