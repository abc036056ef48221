#include "platform/embedded_resources.h"

#include <algorithm>
#include <array>

// Symbols defined by the generated assembler file that includes each photograph's bytes.
#define MIRVANE_PHOTO(id)                               \
    extern "C" const std::uint8_t mirvane_photo_##id[]; \
    extern "C" const std::uint8_t mirvane_photo_##id##_end[];
#include "embedded_photo_ids.inc"
#undef MIRVANE_PHOTO

namespace mirvane::platform {
namespace {

struct EmbeddedResource {
    std::uint16_t id;
    const std::uint8_t* begin;
    const std::uint8_t* end;
};

#define MIRVANE_PHOTO(id) EmbeddedResource{id, mirvane_photo_##id, mirvane_photo_##id##_end},
const std::array kResources = {
#include "embedded_photo_ids.inc"
};
#undef MIRVANE_PHOTO

}  // namespace

std::optional<ByteView> FindEmbeddedResource(std::uint16_t id) {
    const auto* found = std::find_if(kResources.begin(), kResources.end(),
                                     [id](const EmbeddedResource& r) { return r.id == id; });
    if (found == kResources.end()) {
        return std::nullopt;
    }
    return ByteView(found->begin, static_cast<std::size_t>(found->end - found->begin));
}

}  // namespace mirvane::platform
