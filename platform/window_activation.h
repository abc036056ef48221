// Bringing a window to the front with the keyboard, the way the display server wants it asked:
// with the activation token a launcher gave a later start, where there is one.
#pragma once

#include <QByteArray>
#include <QString>
#include <QWindow>
#include <cstdint>

namespace mirvane::platform {

// Raises and activates `window`, shown already. Under X11 `token` is a startup id: its launch
// time lets the window manager tell the request from focus stealing, and the launcher's startup
// feedback ends with it. Elsewhere, or with no token, Qt's own request is used.
void ActivateWindow(QWindow& window, const QString& token);

// True where a window that is not active can only be brought back by showing it anew: Wayland
// lets a client minimize its window but neither tells it so nor lets it undo that, and raising
// needs the compositor's consent, while a window mapped anew comes up in front.
bool RestoreMapsAnew();

// The launch time a startup id carries after "_TIME", or 0 when it carries none.
std::uint32_t StartupIdTime(const QString& startupId);

// The startup-notification message that ends the feedback for `startupId`, NUL included.
QByteArray StartupRemoveMessage(const QString& startupId);

}  // namespace mirvane::platform
