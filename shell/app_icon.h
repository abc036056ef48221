// The application's identity on the desktop: its id and its icon.
#pragma once

#include <QIcon>

namespace mirvane::shell {

// The reverse-DNS application id: the desktop file's name (without ".desktop"), the icon's
// name and the AppStream id, so that the desktop matches the window to its launcher.
inline constexpr char kApplicationId[] = "io.mirvane.Mirvane";

// The application icon in every size the program carries (16 to 256 pixels), all rasterised
// from the one drawing of the icon. For the windows and the notification area icon.
QIcon ApplicationIcon();

}  // namespace mirvane::shell
