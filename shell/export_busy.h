// The busy gate seen from the window: while an export runs, the controls that could change the
// sheet or end the program are greyed.
#pragma once

#include <QWidget>
#include <array>

#include "shell/control_ids.h"

namespace mirvane::shell {

// Greyed while busy. Open exports, Help and Hide to tray stay usable.
inline constexpr std::array<int, 8> kControlsOffWhileBusy = {
    IDC_LOCATION, IDC_YEAR_LIST, IDC_COMPOSE, IDC_OPEN_PAIR,
    IDC_COLUMNS,  IDC_PNG_WIDTH, IDC_EXPORT,  IDC_EXIT,
};

// Stores `busy` into the core's exportBusy, then enables or disables the controls of
// kControlsOffWhileBusy. UI thread only.
// Ending the busy time gives the keyboard back to the control that had it.
void SetExportBusy(QWidget& window, bool busy);

// The keyboard stays on the control of `window` that has it, or goes to the first control when
// no enabled one has it.
void KeepFocus(QWidget& window);

}  // namespace mirvane::shell
