// The one per-user folder that exports go into, and the "Open exports" command.
#pragma once

#include <filesystem>
#include <functional>

namespace mirvane {

// The per-user data folder + "Mirvane/Exports"; empty when no data folder is known, and until
// InitializeExportsFolder runs. Set once at start-up, then only read, on the UI thread.
extern const std::filesystem::path& exportsFolder;

// Computes exportsFolder from the user's environment. Start-up only; creates nothing.
void InitializeExportsFolder();

// Creates `folder` with every missing level above it. True when it is a folder afterwards,
// whether or not anything was created; false for an empty path or when something other than a
// folder holds its name.
bool EnsureFolder(const std::filesystem::path& folder);

// EnsureFolder of exportsFolder.
bool EnsureExportsFolder();

using FolderViewer = std::function<void(const std::filesystem::path&)>;

// The "Open exports" command: shows the exports folder, created first if need be, with `show`;
// when it cannot be had, sets the status line to the export failure text, as an error.
// UI thread only.
void OpenExportsFolder(const FolderViewer& show);
void OpenExportsFolder();

}  // namespace mirvane
