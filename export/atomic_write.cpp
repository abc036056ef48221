#include "export/atomic_write.h"

#include <cerrno>
#include <utility>

namespace mirvane {

bool FolderFlushIsUnavailable(int error) {
    return error == EACCES || error == EPERM || error == EINVAL;
}

AtomicFileWriter::AtomicFileWriter(std::filesystem::path target, platform::FileOperations& files)
    : target_(std::move(target)), files_(files) {
    if (target_.empty()) {
        return;
    }
    temporary_ = target_;
    temporary_ += ".tmp";
    if (files_.CreateNew(temporary_, &file_) != 0) {
        file_ = platform::FileDescriptor();  // whatever has that name is not ours to remove
    }
}

AtomicFileWriter::~AtomicFileWriter() {
    Abandon();
}

void AtomicFileWriter::Abandon() {
    if (file_.IsOpen()) {
        files_.Close(file_);
        files_.Remove(temporary_);
    }
}

bool AtomicFileWriter::Append(std::span<const std::uint8_t> bytes) {
    if (!Good()) {
        return false;
    }
    while (!bytes.empty()) {
        const std::int64_t written = files_.Write(file_.Get(), bytes);
        // No progress at all would loop for ever; a disk that takes nothing has failed.
        if (written <= 0 || static_cast<std::uint64_t>(written) > bytes.size()) {
            Abandon();
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

bool AtomicFileWriter::Commit() {
    if (!Good()) {
        return false;
    }
    const bool synced = files_.Sync(file_.Get()) == 0;
    const bool closed = files_.Close(file_) == 0;  // the descriptor is released either way
    if (!synced || !closed || files_.MoveNoReplace(temporary_, target_) != 0) {
        files_.Remove(temporary_);
        return false;
    }
    // Until the folder is flushed, a power loss can still lose the new name. A flush that fails
    // is a failed export, and a failed export leaves no file behind. A folder the user may write
    // to but not open, or one whose filesystem cannot be flushed, holds the complete file all
    // the same: there is nothing that could be waited for.
    const int flushed = files_.SyncFolder(target_.has_parent_path() ? target_.parent_path() : ".");
    if (flushed != 0 && !FolderFlushIsUnavailable(flushed)) {
        files_.Remove(target_);
        return false;
    }
    return true;
}

bool WriteFileAtomically(const std::filesystem::path& target, std::span<const std::uint8_t> bytes,
                         platform::FileOperations& files) {
    AtomicFileWriter writer(target, files);
    return writer.Append(bytes) && writer.Commit();
}

}  // namespace mirvane
