// The desktop's file chooser, asked for one pair file.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>

namespace mirvane::shell {

// Asks the user for one file, starting in the folder `start`, over `parent`; the chosen file's
// path, or an empty text when the user cancels.
using FileChooser = std::function<QString(QWidget& parent, const QString& start)>;

// The desktop's own chooser (by way of the XDG desktop portal where one runs), titled `title`,
// showing "*.qmp" files with an "All files" choice.
QString ChoosePairFile(QWidget& parent, const QString& title, const QString& start);

}  // namespace mirvane::shell
