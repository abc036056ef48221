// Photographs embedded in the program, looked up by their integer id.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace mirvane::platform {

using ByteView = std::span<const std::uint8_t>;

// The read-only bytes embedded under `id`, or nothing when no such resource exists.
// The view stays valid for the life of the process.
std::optional<ByteView> FindEmbeddedResource(std::uint16_t id);

}  // namespace mirvane::platform
