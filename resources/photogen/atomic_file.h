// Writing a file so that its final name only ever holds complete contents.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

namespace mirvane::photogen {

// Writes to a temporary name beside `path`, then renames. Throws std::runtime_error on failure,
// leaving neither the temporary nor a partial `path` behind.
void WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

}  // namespace mirvane::photogen
