#include "pairs/pair_paths.h"

#include <array>

namespace mirvane {
namespace {

bool IsAsciiLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}
bool IsSeparator(char16_t c) {
    return c == u'/' || c == u'\\';
}

std::u16string_view DrivePathLastComponent(std::u16string_view path) {
    std::size_t start = 0;
    if (path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == u':') {
        start = 2;
    }
    while (start < path.size() && IsSeparator(path[start])) {
        ++start;
    }
    const std::size_t lastSeparator = path.find_last_of(u"/\\");
    if (lastSeparator != std::u16string_view::npos && lastSeparator >= start) {
        start = lastSeparator + 1;
    }
    return path.substr(std::min(start, path.size()));
}

bool NameHasPairExtension(std::u16string_view name) {
    if (name == u"." || name == u"..") {
        return false;
    }
    const std::size_t dot = name.rfind(u'.');
    if (dot == std::u16string_view::npos || dot == 0) {
        return false;
    }
    const std::u16string_view extension = name.substr(dot);
    constexpr std::u16string_view kExtension = u".qmp";
    if (extension.size() != kExtension.size()) {
        return false;
    }
    for (std::size_t i = 0; i < extension.size(); ++i) {
        char16_t c = extension[i];
        if (c >= u'A' && c <= u'Z') {
            c = static_cast<char16_t>(c - u'A' + u'a');
        }
        if (c != kExtension[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool HasPairExtension(std::u16string_view path) {
    const std::size_t slash = path.rfind(u'/');
    return NameHasPairExtension(slash == std::u16string_view::npos ? path : path.substr(slash + 1));
}

bool HasDrivePathPairExtension(std::u16string_view path) {
    const std::u16string_view component = DrivePathLastComponent(path);
    return NameHasPairExtension(component.substr(0, component.find(u':')));
}

bool IsLocalDrivePath(std::u16string_view path, const DriveTypeQuery& driveType) {
    return path.size() >= 4 && IsAsciiLetter(path[0]) && path[1] == u':' && IsSeparator(path[2]) &&
           path.find(u':', 2) == std::u16string_view::npos &&
           driveType(path.substr(0, 3)) != kRemoteDriveType;
}

bool IsNetworkFilesystemType(std::int64_t type) {
    // NFS, SMB, CIFS, SMB2, both AFS numbers, Coda, 9P, Ceph, NCP, GFS2, Lustre, OCFS2, OrangeFS.
    static constexpr std::array<std::int64_t, 14> kNetworkTypes = {
        0x6969,     0x517b,     0xff534d42, 0xfe534d42, 0x5346414f, 0x6b414653, 0x73757245,
        0x01021997, 0x00c36400, 0x564c,     0x01161970, 0x0bd00bd0, 0x7461636f, 0x20030528};
    for (std::int64_t network : kNetworkTypes) {
        if (type == network) {
            return true;
        }
    }
    return false;
}

bool IsLocalFilePath(const QString& path, const FilesystemTypeQuery& filesystemType) {
    if (!path.startsWith(u'/') || path.contains(QChar(u'\0'))) {
        return false;
    }
    const std::optional<std::int64_t> type = filesystemType(path);
    return !type || !IsNetworkFilesystemType(*type);
}

}  // namespace mirvane
