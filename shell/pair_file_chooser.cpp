#include "shell/pair_file_chooser.h"

#include <QFileDialog>

namespace mirvane::shell {

QString ChoosePairFile(QWidget& parent, const QString& title, const QString& start) {
    return QFileDialog::getOpenFileName(&parent, title, start,
                                        QStringLiteral("*.qmp;;All files (*)"));
}

}  // namespace mirvane::shell
