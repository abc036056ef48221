#include "platform/memory_advice.h"

#include <sys/mman.h>

#include <cstdint>

namespace mirvane::platform {

void PreferHugePages(void* data, std::size_t size) noexcept {
    constexpr std::uintptr_t kHugePage = 2 * 1024 * 1024;
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (start + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t last = (start + size) & ~(kHugePage - 1);
    if (data != nullptr && last > first) {
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
    }
}

}  // namespace mirvane::platform
