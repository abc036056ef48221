#include "shell/hide_to_tray.h"

namespace mirvane::shell {

void HideToTray(QWidget& window, TrayIcon& tray) {
    if (!tray.Shown()) {
        tray.Add();
        if (!tray.Shown()) {
            return;
        }
    }
    window.hide();
}

}  // namespace mirvane::shell
