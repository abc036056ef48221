#include "shell/export_busy.h"

#include "sheet/export_gate.h"
#include "shell/controls.h"

namespace mirvane::shell {

void SetExportBusy(QWidget& window, bool busy) {
    exportBusy.exchange(busy);
    for (const int id : kControlsOffWhileBusy) {
        if (QWidget* control = FindControl(window, id)) {
            control->setEnabled(!busy);
        }
    }
}

}  // namespace mirvane::shell
