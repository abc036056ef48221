// Bringing a window to the front with the keyboard, the way the display server wants it asked:
// with the activation token a launcher gave a later start, where there is one.
#pragma once

#include <QByteArray>
#include <QString>
#include <QWindow>
#include <cstdint>
#include <functional>

namespace mirvane::platform {

// Raises and activates `window`, shown or being shown. Under X11 `token` is a startup id: its
// launch time lets the window manager tell the request from focus stealing, and the launcher's
// startup feedback ends with it. Under Wayland it is an xdg-activation token, which the compositor
// honours where it would refuse a plain request; a window not on the screen yet is activated once
// its first frame is, and `refused` is called when the compositor gave no window of the program
// the activation within a second. Without a token, or where neither applies, Qt's own request is
// used.
void ActivateWindow(QWindow& window, const QString& token, std::function<void()> refused = {});

// True where a window that is not active can only be brought back by showing it anew: Wayland
// lets a client minimize its window but neither tells it so nor lets it undo that, and raising
// needs the compositor's consent, while a window mapped anew comes up in front.
bool RestoreMapsAnew();

// True where `token` can carry that consent instead: under Wayland, with a compositor that takes
// xdg-activation, a window is activated in place with it.
bool ActivatesWithToken(const QString& token);

// Activates the first window of this start, being shown, with the launcher's token. Needed under
// Wayland only: under X11 Qt itself hands the startup id to the first window it maps.
void ActivateFirstWindow(QWindow& window, const QString& token);

// Forgets the launcher's token and startup id in the environment, once Qt has read what it reads
// there: they were meant for this start, and programs it starts would pass them on as their own.
void ForgetLauncherActivationToken();

// The launch time a startup id carries after "_TIME", or 0 when it carries none.
std::uint32_t StartupIdTime(const QString& startupId);

// The startup-notification message that ends the feedback for `startupId`, NUL included.
QByteArray StartupRemoveMessage(const QString& startupId);

}  // namespace mirvane::platform
