#include "shell/app_icon.h"

#include <QDir>

namespace mirvane::shell {

QIcon ApplicationIcon() {
    // Every size that the build rasterised, each file read for its own size, so that the list
    // of sizes lives in one place only.
    const QDir sizes(QStringLiteral(":/mirvane/icons"));
    QIcon icon;
    for (const QString& name : sizes.entryList(QDir::Files)) {
        icon.addFile(sizes.filePath(name));
    }
    return icon;
}

}  // namespace mirvane::shell
