// Hiding the window to the notification area, which only makes sense when an icon there can
// bring it back; without one the window goes to the taskbar or the program ends, as a user of a
// desktop without such an area expects.
#pragma once

#include <QWidget>
#include <functional>

#include "shell/tray_icon.h"

namespace mirvane::shell {

// Hides `window` once the tray icon is shown, adding it first when it is not. Without a
// notification area the window is minimized instead, so it can never become unreachable.
void HideToTray(QWidget& window, TrayIcon& tray);

// What the close box does: hides to the tray; without a notification area it runs `exit`, the
// Exit command, which itself only shows the window while an export runs.
void CloseToTray(QWidget& window, TrayIcon& tray, const std::function<void()>& exit);

}  // namespace mirvane::shell
