// Where the user's per-application data lives, and showing a folder in the desktop's file
// manager.
#pragma once

#include <filesystem>

namespace mirvane::platform {

// The per-user data folder: XDG_DATA_HOME when it is an absolute path, otherwise
// ~/.local/share of the user's home. Empty when no home folder is known.
std::filesystem::path UserDataFolder();

// Asks the desktop to show `folder` in its file manager. Whether it did is not reported.
void ShowFolder(const std::filesystem::path& folder);

}  // namespace mirvane::platform
