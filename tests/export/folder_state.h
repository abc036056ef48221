// Everything in a folder, names and bytes, to tell whether anything in it changed.
#pragma once

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace mirvane::testing {

// Every path under the folder, relative to it, with the whole content of every file.
using FolderState = std::map<std::string, std::string>;

// A whole file in one read: the folders compared hold exports of megabytes.
inline std::string Content(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string content(std::filesystem::file_size(path), '\0');
    in.read(content.data(), static_cast<std::streamsize>(content.size()));
    content.resize(static_cast<std::size_t>(in.gcount()));
    return content;
}

inline FolderState StateOf(const std::filesystem::path& folder) {
    FolderState state;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        const std::string name = std::filesystem::relative(entry.path(), folder).string();
        state[name] = entry.is_directory() ? std::string("<folder>") : Content(entry.path());
    }
    return state;
}

// What differs between two states, one line per name: "+name" added, "-name" gone, "~name"
// changed. Empty when they are the same.
inline std::vector<std::string> Differences(const FolderState& before, const FolderState& after) {
    std::vector<std::string> lines;
    for (const auto& [name, content] : before) {
        const auto now = after.find(name);
        if (now == after.end()) {
            lines.push_back("-" + name);
        } else if (now->second != content) {
            lines.push_back("~" + name);
        }
    }
    for (const auto& [name, content] : after) {
        if (!before.contains(name)) {
            lines.push_back("+" + name);
        }
    }
    return lines;
}

}  // namespace mirvane::testing
