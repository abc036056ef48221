// Where the user's per-application data lives, and showing a folder in the desktop's file
// manager.
#pragma once

#include <filesystem>

namespace mirvane::platform {

// The per-user data folder: XDG_DATA_HOME when it is an absolute path, otherwise
// ~/.local/share of the user's home. Empty when no home folder is known.
std::filesystem::path UserDataFolder();

// Asks the desktop to show `folder` in its file manager: through the file manager's own
// interface (org.freedesktop.FileManager1) on the session bus, or, where no session bus or no
// such service answers, by opening the folder's URL (QDesktopServices::openUrl). Returns at
// once; the answer arrives later on this thread's event loop. Whether the folder was shown is
// not reported. UI thread only.
void ShowFolder(const std::filesystem::path& folder);

}  // namespace mirvane::platform
