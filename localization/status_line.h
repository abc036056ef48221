// The status line: the one message, normal or error, that the window's footer shows.
#pragma once

#include <QString>
#include <functional>

#include "localization/ui_text.h"

namespace mirvane {

// The last text set, held as a copy so that it keeps the language it was set in. Empty at start.
extern const QString& statusText;

// True when statusText is an error message. False at start.
extern const bool& statusIsError;

// Stores a copy of `text` and its kind, then runs the repaint hook, if one is registered.
// UI thread only.
void SetStatusText(const QString& text, bool isError);

// SetStatusText with the text of `id` in the current uiLanguage.
void SetStatus(TextId id, bool isError);

// Registers what repaints the window after the status changes; an empty function removes it.
// Until one is registered, setting the status only stores it.
void SetStatusRepaintHook(std::function<void()> repaint);

}  // namespace mirvane
