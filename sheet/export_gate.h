// The busy gate: set while an export runs, so that nothing replaces the sheet it is writing.
#pragma once

#include <atomic>

namespace mirvane {

// Written and read on the UI thread only; the window's SetExportBusy also greys its buttons.
extern std::atomic<bool> exportBusy;

}  // namespace mirvane
