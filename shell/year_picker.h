// The year list of the chosen place, with its initial ticks, and the Compose sheet command.
#pragma once

#include <QWidget>
#include <array>
#include <vector>

namespace mirvane::shell {

// Item i of the year list shows the photograph of catalog row yearListRows[i]; as many entries
// as the list has items after every fill. UI thread only.
extern const std::vector<int>& yearListRows;

// The list positions ticked after a fill of `count` items: first, a third of the way, two thirds
// of the way and last (integer division). Positions may coincide; all are below `count` unless
// it is 0.
std::array<int, 4> InitialTickPositions(int count);

// Refills the year list of `window` with the years of the place its location selector shows
// (the first place when it shows none) and ticks InitialTickPositions. The sheet is untouched.
void FillYearList(QWidget& window);

// The Compose sheet command: the ticked rows, in list order, composed into the new current
// sheet with the ready status, or the select-years error status and the old sheet. Nothing at
// all while an export runs.
void ComposeSheet(const QWidget& window);

}  // namespace mirvane::shell
