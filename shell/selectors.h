// What the two small selectors of the main window say.
#pragma once

#include <QWidget>

namespace mirvane::shell {

// 3 when the Columns selector shows its second item, otherwise 2 (also with no selection).
int SelectedColumnCount(const QWidget& window);

// 4500 when the PNG width selector shows its second item, otherwise 3000. Read when an export
// starts, never before.
int SelectedPngWidth(const QWidget& window);

}  // namespace mirvane::shell
