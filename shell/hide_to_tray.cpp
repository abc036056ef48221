#include "shell/hide_to_tray.h"

namespace mirvane::shell {
namespace {

// The notification-area icon comes with the tray work; until then there is none to return
// through, on any desktop.
bool TrayIconShown() {
    return false;
}

}  // namespace

void HideToTray(QWidget& window) {
    if (!TrayIconShown()) {
        return;
    }
    window.hide();
}

}  // namespace mirvane::shell
