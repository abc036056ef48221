#include "shell/hide_to_tray.h"

namespace mirvane::shell {
namespace {

// Whether the icon is there, trying once more to put it there: the area may have appeared since.
bool TrayReady(TrayIcon& tray) {
    if (!tray.Shown()) {
        tray.Add();
    }
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
