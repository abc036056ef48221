// The main window's child controls: their creation and what follows them when the language or
// the screen's pixel ratio changes.
#pragma once

#include <QWidget>

namespace mirvane::shell {

// The logical width of the year list's one column: the years, their check boxes and some air.
inline constexpr int kYearColumnWidth = 222;

// Creates the controls of `window` in creation order, which is also the Tab order: location,
// year list, Columns, PNG width, then the seven buttons. Each carries its control id, the UI font
// and its contents with the first item chosen; the year list is left empty.
void CreateMainControls(QWidget& window);

// The language is chosen again after the user's settings changed: the buttons get their
// captions in it and the ready status repaints every painted text.
void RelocalizeWindow(QWidget& window);

// After the window moved to a screen of another pixel ratio: uiScale follows it, and so do the
// controls' font, the year list's column and the layout.
void FollowPixelRatio(QWidget& window);

}  // namespace mirvane::shell
