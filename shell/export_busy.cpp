#include "shell/export_busy.h"

#include "sheet/export_gate.h"
#include "shell/controls.h"

namespace mirvane::shell {

namespace {

// The control that had the keyboard when the controls were greyed.
constexpr char kFocusBeforeBusy[] = "mirvaneFocusBeforeBusy";

}  // namespace

void SetExportBusy(QWidget& window, bool busy) {
    exportBusy.exchange(busy);
    if (busy) {
        const QWidget* focus = window.focusWidget();
        const QVariant id = focus != nullptr ? focus->property(kControlIdProperty) : QVariant();
        window.setProperty(kFocusBeforeBusy, id);
    }
    for (const int id : kControlsOffWhileBusy) {
        if (QWidget* control = FindControl(window, id)) {
            control->setEnabled(!busy);
        }
    }
    if (!busy) {
        // Greying moved the keyboard on; it goes back to where it was.
        const QVariant id = window.property(kFocusBeforeBusy);
        window.setProperty(kFocusBeforeBusy, QVariant());
        QWidget* control = id.isValid() ? FindControl(window, id.toInt()) : nullptr;
        if (control != nullptr) {
            control->setFocus(Qt::OtherFocusReason);
        } else {
            KeepFocus(window);
        }
    }
}

void KeepFocus(QWidget& window) {
    const QWidget* focus = window.focusWidget();
    if (focus == nullptr || !focus->isEnabled() || !focus->property(kControlIdProperty).isValid()) {
        if (QWidget* first = FindControl(window, IDC_LOCATION)) {
            first->setFocus(Qt::OtherFocusReason);
        }
    }
}

}  // namespace mirvane::shell
