#include "platform/folders.h"

#include <pwd.h>
#include <unistd.h>

#include <QDesktopServices>
#include <QFile>
#include <QUrl>
#include <cstdlib>
#include <vector>

namespace mirvane::platform {
namespace {

std::filesystem::path HomeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
        return home;
    }
    // No usable HOME (a service or a stripped environment): the account's own entry.
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
        found == nullptr || found->pw_dir == nullptr || found->pw_dir[0] != '/') {
        return {};
    }
    return found->pw_dir;
}

}  // namespace

std::filesystem::path UserDataFolder() {
    // The XDG rules ignore a relative XDG_DATA_HOME.
    if (const char* dataHome = std::getenv("XDG_DATA_HOME");
        dataHome != nullptr && dataHome[0] == '/') {
        return dataHome;
    }
    const std::filesystem::path home = HomeFolder();
    return home.empty() ? home : home / ".local" / "share";
}

void ShowFolder(const std::filesystem::path& folder) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFile::decodeName(folder.c_str())));
}

}  // namespace mirvane::platform
