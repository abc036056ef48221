// Advice to the kernel on how to back the program's large buffers.
#pragma once

#include <cstddef>

namespace mirvane::platform {

// Asks the kernel to back the whole 2 MiB pages inside [data, data + size), not touched yet, with
// huge pages: a large buffer filled at once then costs a page fault every 2 MiB instead of every
// 4 KiB, which on a 9 MB photograph is most of the time filling it takes. Advice only: where
// the kernel does not take it, nothing changes.
void PreferHugePages(void* data, std::size_t size) noexcept;

}  // namespace mirvane::platform
