// Whether the desktop has a notification area now, asked of the desktop itself rather than of
// Qt's tray code: Qt settles, once, when its first tray icon is made, which kind of area it will
// use, so asking it while there is none would leave the program without one for good.
#pragma once

namespace mirvane::platform {

// The D-Bus service that panels showing status icons register; it appears anew when one restarts.
inline constexpr char kStatusNotifierWatcher[] = "org.kde.StatusNotifierWatcher";

// A status-notifier host (a panel showing status icons over D-Bus) is registered on the session
// bus, or, under X11, a system tray owns the screen's tray selection.
bool NotificationAreaPresent();

}  // namespace mirvane::platform
