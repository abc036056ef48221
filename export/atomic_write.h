// The crash-safe write of an export: a file under its final name is always complete, and
// nothing that exists is ever overwritten.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

#include "platform/files.h"

namespace mirvane {

// Writes `bytes` to `target` by way of `target` + ".tmp" in the same folder: created only if
// that name is free, written whole, flushed to the disk, then moved to `target` without
// replacing anything, and the folder flushed. True only when `target` then holds exactly
// `bytes`; a folder that cannot be opened for flushing or does not support it (see
// FolderFlushIsUnavailable) does not undo the write. On failure nothing is left under either name
// by this call, and a file of the temporary name that existed before is left alone. An empty target
// fails at once. Export worker thread, or any thread: it keeps no state. Errors of the folder flush
// that mean it cannot be done at all, as opposed to a flush that failed: the folder may not be
// opened (EACCES, EPERM) or cannot be flushed (EINVAL).
bool FolderFlushIsUnavailable(int error);

bool WriteFileAtomically(const std::filesystem::path& target, std::span<const std::uint8_t> bytes,
                         platform::FileOperations& files = platform::SystemFileOperations());

}  // namespace mirvane
