// How assistive tools see the windows: the selectors named by their labels, and the painted
// texts of the main window as readable objects, with an event whenever the status changes.
#pragma once

#include <QWidget>

namespace mirvane::shell {

// Teaches Qt's accessibility our selectors and painted texts. Once per process, before the
// first window; later calls do nothing.
void InstallAccessibility();

// Creates the readable stand-ins of the main window's painted texts: title, tagline, panel
// labels, drop hint, badge, language, preview label, the preview itself, the two choice labels,
// the status line and the clock. After the controls, so that Tab never meets them.
void CreatePaintedTexts(QWidget& window);

// After a resize: each stand-in follows the text it stands for.
void PlacePaintedTexts(QWidget& window);

// Tells assistive tools that the status line was set (even to the same text) and, when the
// sheet changed with it, that the preview has a new name.
void AnnounceStatus(QWidget& window);

// Tells assistive tools that `line` now shows an error, so that they say it at once.
void AnnounceError(QWidget& line);

// After a language change: the names of the selectors and the year list in the new language.
void NameControls(QWidget& window);

}  // namespace mirvane::shell
