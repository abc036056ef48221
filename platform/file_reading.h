// Reading a whole file from outside, with its size capped before anything is read.
#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "archive/bytes.h"

namespace mirvane::platform {

// The complete content of the regular file at `path` (links followed), or an empty buffer when
// it is missing, not a regular file, empty, larger than `limit`, or cannot be read whole.
// One buffer of exactly the size found is allocated, and only after the size has passed.
// The file is opened read-only.
Bytes ReadWholeFile(const QString& path, std::uint64_t limit);

// A zero-filled buffer of `size` bytes that the kernel may back with huge pages (see
// PreferHugePages), for a file or a photograph. Throws std::bad_alloc as a vector does.
Bytes LargeBytes(std::size_t size);

// The type number of the file system holding `path` (statfs f_type), or nothing.
std::optional<std::int64_t> FilesystemTypeOf(const QString& path);

}  // namespace mirvane::platform
