#include "platform/folders.h"

#include <pwd.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QFile>
#include <QStringList>
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

// Whether a file manager call that ended in `reply` calls for opening the URL instead. Yes
// when the bus says no such service, object or method answers, or the call was refused. No on
// success, and no when the answer is only late: a file manager that takes that long to start
// will most likely still show the folder, and opening the URL too would show it twice.
bool OpenUrlInstead(const QDBusPendingCall& reply) {
    if (!reply.isError()) {
        return false;
    }
    const QDBusError::ErrorType error = reply.error().type();
    return error != QDBusError::NoReply && error != QDBusError::Timeout;
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
    const QUrl url = QUrl::fromLocalFile(QFile::decodeName(folder.c_str()));
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        QDesktopServices::openUrl(url);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowFolders"));
    // The folder's URL, and no startup id: there is no launch to hand over.
    call << QStringList{url.toString(QUrl::FullyEncoded)} << QString();
    // Not blocking: the bus may first have to start the file manager, and the window goes on
    // painting meanwhile. Asking whether the name has an owner first would miss file managers
    // that the bus starts on demand, so the call itself is the question.
    auto* reply = new QDBusPendingCallWatcher(bus.asyncCall(call), QCoreApplication::instance());
    QObject::connect(reply, &QDBusPendingCallWatcher::finished, reply,
                     [url](QDBusPendingCallWatcher* finished) {
                         finished->deleteLater();
                         if (OpenUrlInstead(*finished)) {
                             QDesktopServices::openUrl(url);
                         }
                     });
}

}  // namespace mirvane::platform
