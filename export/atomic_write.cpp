#include "export/atomic_write.h"

#include <cerrno>

namespace mirvane {
namespace {

bool WriteWhole(platform::FileOperations& files, int fd, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const std::int64_t written = files.Write(fd, bytes);
        // No progress at all would loop for ever; a disk that takes nothing has failed.
        if (written <= 0 || static_cast<std::uint64_t>(written) > bytes.size()) {
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

bool FolderFlushIsUnavailable(int error) {
    return error == EACCES || error == EPERM || error == EINVAL;
}

bool WriteFileAtomically(const std::filesystem::path& target, std::span<const std::uint8_t> bytes,
                         platform::FileOperations& files) {
    if (target.empty()) {
        return false;
    }
    std::filesystem::path temporary = target;
    temporary += ".tmp";

    platform::FileDescriptor file;
    if (files.CreateNew(temporary, &file) != 0) {
        return false;  // whatever has that name is not ours to remove
    }
    const bool written = WriteWhole(files, file.Get(), bytes) && files.Sync(file.Get()) == 0;
    const bool closed = files.Close(file) == 0;
    if (!written || !closed || files.MoveNoReplace(temporary, target) != 0) {
        files.Remove(temporary);
        return false;
    }
    // Until the folder is flushed, a power loss can still lose the new name. A flush that fails
    // is a failed export, and a failed export leaves no file behind. A folder the user may write
    // to but not open, or one whose filesystem cannot be flushed, holds the complete file all
    // the same: there is nothing that could be waited for.
    const int flushed = files.SyncFolder(target.has_parent_path() ? target.parent_path() : ".");
    if (flushed != 0 && !FolderFlushIsUnavailable(flushed)) {
        files.Remove(target);
        return false;
    }
    return true;
}

}  // namespace mirvane
