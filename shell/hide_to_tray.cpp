#include "shell/hide_to_tray.h"

namespace mirvane::shell {
namespace {

// Whether the icon is there now: the area may have appeared or gone since it was last asked.
bool TrayReady(TrayIcon& tray) {
    tray.Refresh();
    return tray.Shown();
}

}  // namespace

void HideToTray(QWidget& window, TrayIcon& tray) {
    if (TrayReady(tray)) {
        window.hide();
    } else if (!window.isMinimized()) {
        window.showMinimized();
    }
}

void CloseToTray(QWidget& window, TrayIcon& tray, const std::function<void()>& exit) {
    if (TrayReady(tray)) {
        window.hide();
    } else {
        exit();
    }
}

}  // namespace mirvane::shell
