// A fresh folder for one test, removed with everything in it afterwards, and small file helpers.
#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace mirvane::testing {

class ScratchFolder {
  public:
    ScratchFolder() { EXPECT_TRUE(dir_.isValid()); }
    std::filesystem::path Path() const { return dir_.path().toStdString(); }
    std::filesystem::path operator/(const std::string& name) const { return Path() / name; }

  private:
    QTemporaryDir dir_;
};

inline void WriteFile(const std::filesystem::path& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The names in `folder`, sorted.
inline std::vector<std::string> Entries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace mirvane::testing
