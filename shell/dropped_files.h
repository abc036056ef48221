// Files dropped onto the window: one to three pair files for the pair import.
#pragma once

#include <QList>
#include <QString>
#include <QUrl>
#include <vector>

namespace mirvane::shell {

// The paths handed to the pair import for a drop of `urls`, in the order dropped: one per item
// for one to three items, none for any other count, so that the import refuses the drop. An
// item that is not a local file gives an empty path, which the import refuses as well.
std::vector<QString> DroppedPairPaths(const QList<QUrl>& urls);

// What a drop onto the main window does: nothing while an export runs, otherwise the pair
// import of DroppedPairPaths, which installs the sheet or shows the pair error status.
void OpenDroppedFiles(const QList<QUrl>& urls);

}  // namespace mirvane::shell
