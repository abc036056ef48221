// Hiding the window to the notification area, which only makes sense when an icon there can
// bring it back.
#pragma once

#include <QWidget>

#include "shell/tray_icon.h"

namespace mirvane::shell {

// Hides `window` once the tray icon is shown, adding it first when it is not; without a
// notification area the window stays as it is (visible, or minimized when it was being
// minimized), so it can never become unreachable.
void HideToTray(QWidget& window, TrayIcon& tray);

}  // namespace mirvane::shell
