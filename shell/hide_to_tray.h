// Hiding the window to the notification area, which only makes sense when an icon there can
// bring it back.
#pragma once

#include <QWidget>

namespace mirvane::shell {

// Hides `window` when its notification-area icon is shown; otherwise leaves it as it is
// (visible, or minimized when it was being minimized), so it can never become unreachable.
void HideToTray(QWidget& window);

}  // namespace mirvane::shell
