// The one current sheet, shown by the window and written by an export. UI thread only.
#pragma once

#include "sheet/sheet.h"

namespace mirvane {

// Read-only to everyone; it changes only whole, through ReplaceCurrentSheet. Empty title, no
// frames and fromArchive true until the first sheet is installed.
extern const Sheet& currentSheet;

// Installs a complete new sheet in one step. The old frames are released; their photographs
// are freed once no export snapshot shares them any more.
void ReplaceCurrentSheet(Sheet sheet);

// At exit: lets go of every frame, so that no preview outlives the imaging layer.
void ReleaseCurrentSheetFrames();

}  // namespace mirvane
