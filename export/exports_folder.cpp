#include "export/exports_folder.h"

#include <system_error>

#include "localization/status_line.h"
#include "platform/folders.h"

namespace mirvane {
namespace {

std::filesystem::path exportsFolderValue;

}  // namespace

const std::filesystem::path& exportsFolder = exportsFolderValue;

void InitializeExportsFolder() {
    const std::filesystem::path data = platform::UserDataFolder();
    exportsFolderValue = data.empty() ? data : data / "Mirvane" / "Exports";
}

bool EnsureFolder(const std::filesystem::path& folder) {
    if (folder.empty()) {
        return false;
    }
    // Only the outcome counts: a level that could not be made but exists is fine.
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return std::filesystem::is_directory(folder, error);
}

bool EnsureExportsFolder() {
    return EnsureFolder(exportsFolder);
}

void OpenExportsFolder(const FolderViewer& show) {
    if (EnsureExportsFolder()) {
        show(exportsFolder);
    } else {
        SetStatus(TextId::ExportFailedStatus, true);
    }
}

void OpenExportsFolder() {
    OpenExportsFolder(platform::ShowFolder);
}

}  // namespace mirvane
