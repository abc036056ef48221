// Which graphical session the program runs in, as its environment tells: the session's name,
// whether there is a display at all, and the activation token a launcher handed over.
#pragma once

#include <QString>
#include <functional>

namespace mirvane::platform {

// The variables that decide it, as read from the environment (empty when unset).
struct SessionEnvironment {
    QString sessionId;        // XDG_SESSION_ID
    QString waylandDisplay;   // WAYLAND_DISPLAY
    QString x11Display;       // DISPLAY
    QString qtPlatform;       // QT_QPA_PLATFORM
    QString activationToken;  // XDG_ACTIVATION_TOKEN
    QString startupId;        // DESKTOP_STARTUP_ID
};

SessionEnvironment CurrentSessionEnvironment();

// The session's name: its id when the login manager gave one, else the Wayland display, else the
// X display without its screen number (":0.1" and ":0" are one display); empty when none.
QString GraphicalSessionName(const SessionEnvironment& environment);

enum class DisplayServer { X11, Wayland };
// Whether the display server the environment names answers.
using DisplayProbe = std::function<bool(DisplayServer)>;

// False when the window has nowhere to show: no display for any platform Qt would try. A chosen
// platform other than xcb or wayland (offscreen, vnc, ...) needs no display server. With
// `answers`, a display named but not answering counts as none; it is asked only of the display
// servers Qt would try.
bool HasDisplay(const SessionEnvironment& environment, const DisplayProbe& answers = {});

// The token that lets the window take the activation the launcher meant for this start: the
// Wayland one when given, else the X11 startup id; empty when there is none or it is not a plain
// printable word of at most kMaxActivationTokenLength characters.
inline constexpr int kMaxActivationTokenLength = 256;
QString LauncherActivationToken(const SessionEnvironment& environment);
bool IsPlainToken(const QString& token);

}  // namespace mirvane::platform
