// Activating a window under Wayland with a launcher's token (xdg-activation): Qt offers no way to
// hand its Wayland window a token of ours, so the request goes over Qt's connection, from here.
#pragma once

#include <QString>
#include <QWindow>

namespace mirvane::platform {

// True when the program runs on Wayland and the compositor offers xdg-activation.
bool WaylandActivationAvailable();

// Asks the compositor to activate `window` with `token`. False, and nothing asked, when the
// program is not on Wayland, the compositor lacks xdg-activation, the token is empty or the window
// has no surface yet. The compositor may still refuse, without saying so.
bool ActivateWaylandWindow(QWindow& window, const QString& token);

}  // namespace mirvane::platform
