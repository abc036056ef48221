#include "shell/controls.h"

namespace mirvane::shell {

void SetControlId(QWidget& control, int id) { control.setProperty(kControlIdProperty, id); }

QWidget* FindControl(const QWidget& window, int id) {
    for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QVariant value = child->property(kControlIdProperty);
        if (value.isValid() && value.toInt() == id) {
            return child;
        }
    }
    return nullptr;
}

}  // namespace mirvane::shell
