// The crash-safe write of an export: a file under its final name is always complete, and
// nothing that exists is ever overwritten.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

#include "platform/files.h"

namespace mirvane {

// Errors of the folder flush that mean it cannot be done at all, as opposed to a flush that
// failed: the folder may not be opened (EACCES, EPERM) or cannot be flushed (EINVAL).
bool FolderFlushIsUnavailable(int error);

// One file written crash-safely as its bytes are made: by way of `target` + ".tmp" in the same
// folder, created only if that name is free, every byte written, flushed to the disk, then
// moved to `target` without replacing anything, and the folder flushed. Until Commit succeeds
// nothing is under `target`; on any failure, and when the writer goes without a commit (an
// export that failed or threw), nothing is left under either name, and a file of the temporary
// name that existed before is left alone. A folder that cannot be opened for flushing or does
// not support it (see FolderFlushIsUnavailable) does not undo the write. Any one thread.
class AtomicFileWriter {
  public:
    AtomicFileWriter(std::filesystem::path target, platform::FileOperations& files);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Whether the temporary file was made and every write so far went through. An empty target
    // fails at once.
    bool Good() const { return file_.IsOpen(); }
    // Appends `bytes` whole; false, and the temporary file gone, when any of it cannot be
    // written.
    bool Append(std::span<const std::uint8_t> bytes);
    // True only when `target` then holds exactly the bytes appended.
    bool Commit();

  private:
    void Abandon();

    const std::filesystem::path target_;
    std::filesystem::path temporary_;
    platform::FileOperations& files_;
    platform::FileDescriptor file_;
};

// `bytes` written whole to `target` with an AtomicFileWriter. Export worker thread, or any
// thread: it keeps no state.
bool WriteFileAtomically(const std::filesystem::path& target, std::span<const std::uint8_t> bytes,
                         platform::FileOperations& files = platform::SystemFileOperations());

}  // namespace mirvane
