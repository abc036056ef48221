// Which paths a pair import accepts: local files whose name ends in ".qmp".
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

namespace mirvane {

// True when the file name of `path`, the text after its last '/', has the extension ".qmp" in
// any letter case. The extension starts at the name's last '.', which must not be its first
// character; a colon or a backslash is an ordinary character of a name. So "PHOTO.QMP",
// "a.b.qmp" and "a:b.qmp" pass; ".qmp", "x.qmp.bak", "x.qmpx" and "x.qmp:old" do not.
bool HasPairExtension(std::u16string_view path);

// The extension rule of a drive-letter file system: the last component follows the last '/' or
// '\' (after a drive root) and is cut at its first ':', where an alternate stream's name begins.
// So "C:\\p\\a.qmp" and "x.qmp:stream" pass there, and "x.bak:y.qmp" does not.
bool HasDrivePathPairExtension(std::u16string_view path);

// The drive letter rule of a drive-letter file system, with the drive type asked of `driveType`
// for the path's first three characters: a letter, ':', '\' or '/', no further ':', and a drive
// that is not a network drive (type 4). UNC and long-path-prefixed paths fail.
inline constexpr int kRemoteDriveType = 4;
using DriveTypeQuery = std::function<int(std::u16string_view root)>;
bool IsLocalDrivePath(std::u16string_view path, const DriveTypeQuery& driveType);

// True for the file system type numbers (statfs f_type) of network file systems.
bool IsNetworkFilesystemType(std::int64_t type);

// The type of the file system holding `path`, or nothing when it cannot be told.
using FilesystemTypeQuery = std::function<std::optional<std::int64_t>(const QString& path)>;

// The rule this program applies: an absolute path, free of NUL characters, that does not lie
// on a network file system. A path whose file system cannot be told passes here; reading it
// then fails.
bool IsLocalFilePath(const QString& path, const FilesystemTypeQuery& filesystemType);

}  // namespace mirvane
