#include "shell/dropped_files.h"

#include "pairs/pair_import.h"
#include "sheet/export_gate.h"

namespace mirvane::shell {

std::vector<QString> DroppedPairPaths(const QList<QUrl>& urls) {
    std::vector<QString> paths;
    if (urls.isEmpty() || static_cast<std::size_t>(urls.size()) > kMaxPairFilesPerImport) {
        return paths;
    }
    for (const QUrl& url : urls) {
        paths.push_back(url.isLocalFile() ? url.toLocalFile() : QString());
    }
    return paths;
}

void OpenDroppedFiles(const QList<QUrl>& urls) {
    // During an export a drop vanishes without a word: the status line shows the export.
    if (exportBusy) {
        return;
    }
    const std::vector<QString> paths = DroppedPairPaths(urls);
    OpenPairFiles(paths);
}

}  // namespace mirvane::shell
