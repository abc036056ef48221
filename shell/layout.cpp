#include "shell/layout.h"

#include <QComboBox>
#include <algorithm>

#include "shell/control_ids.h"
#include "shell/controls.h"
#include "shell/ui_scale.h"

namespace mirvane::shell {

std::array<ControlPlacement, kPlacedControlCount> ControlLayout(float w, float h) {
    return {{
        {IDC_LOCATION, QRectF(22, 162, 248, 240)},
        {IDC_YEAR_LIST, QRectF(22, 237, 248, h - 454)},
        {IDC_COMPOSE, QRectF(22, h - 205, 248, 36)},
        {IDC_OPEN_PAIR, QRectF(22, h - 158, 248, 36)},
        {IDC_COLUMNS, QRectF(w - 302, 143, 100, 180)},
        {IDC_PNG_WIDTH, QRectF(w - 188, 143, 150, 180)},
        {IDC_HELP, QRectF(w - 285, 34, 70, 34)},
        {IDC_HIDE_TO_TRAY, QRectF(w - 205, 34, 105, 34)},
        {IDC_EXIT, QRectF(w - 90, 34, 65, 34)},
        {IDC_EXPORT, QRectF(324, h - 91, 171, 36)},
        {IDC_OPEN_EXPORTS, QRectF(507, h - 91, 176, 36)},
    }};
}

QRect PlacedGeometry(const QRectF& rect) {
    const auto round = [](qreal v) { return ScaleToPixels(static_cast<float>(v), 1.0f); };
    return QRect(round(rect.x()), round(rect.y()), round(rect.width()), round(rect.height()));
}

void PlaceControl(QWidget& window, int id, const QRectF& rect) {
    QWidget* control = FindControl(window, id);
    if (control == nullptr) {
        return;
    }
    QRect geometry = PlacedGeometry(rect);
    if (qobject_cast<QComboBox*>(control) != nullptr) {
        geometry.setHeight(std::min(geometry.height(), control->sizeHint().height()));
    }
    control->setGeometry(geometry);
}

void LayoutControls(QWidget& window) {
    const auto w = static_cast<float>(window.width());
    const auto h = static_cast<float>(window.height());
    for (const ControlPlacement& placement : ControlLayout(w, h)) {
        PlaceControl(window, placement.id, placement.rect);
    }
}

}  // namespace mirvane::shell
