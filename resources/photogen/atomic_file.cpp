#include "atomic_file.h"

#include <cstdio>
#include <stdexcept>
#include <string>
#include <system_error>

namespace mirvane::photogen {

void WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    std::filesystem::path temporary = path;
    temporary += ".part";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr) {
        throw std::runtime_error("cannot create " + temporary.string());
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    std::error_code error;
    if (!written || !closed) {
        std::filesystem::remove(temporary, error);
        throw std::runtime_error("cannot write " + temporary.string());
    }
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        throw std::runtime_error("cannot rename " + temporary.string() + " to " + path.string() +
                                 ": " + error.message());
    }
}

}  // namespace mirvane::photogen
