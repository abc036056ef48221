// The real file system with any of its operations replaceable, to make one of them fail.
#pragma once

#include <functional>

#include "platform/files.h"

namespace mirvane::testing {

class FaultyFiles final : public platform::FileOperations {
  public:
    platform::FileOperations& real = platform::SystemFileOperations();
    std::function<int(const std::filesystem::path&, platform::FileDescriptor*)> create;
    std::function<std::int64_t(int, std::span<const std::uint8_t>)> write;
    std::function<int(int)> sync;
    std::function<int(platform::FileDescriptor&)> close;
    std::function<int(const std::filesystem::path&, const std::filesystem::path&)> move;
    std::function<int(const std::filesystem::path&)> syncFolder;
    std::function<int(const std::filesystem::path&)> remove;
    int createCalls = 0;

    int CreateNew(const std::filesystem::path& path, platform::FileDescriptor* out) override {
        ++createCalls;
        return create ? create(path, out) : real.CreateNew(path, out);
    }
    std::int64_t Write(int fd, std::span<const std::uint8_t> bytes) override {
        return write ? write(fd, bytes) : real.Write(fd, bytes);
    }
    int Sync(int fd) override { return sync ? sync(fd) : real.Sync(fd); }
    int Close(platform::FileDescriptor& file) override {
        return close ? close(file) : real.Close(file);
    }
    int MoveNoReplace(const std::filesystem::path& from, const std::filesystem::path& to) override {
        return move ? move(from, to) : real.MoveNoReplace(from, to);
    }
    int SyncFolder(const std::filesystem::path& folder) override {
        return syncFolder ? syncFolder(folder) : real.SyncFolder(folder);
    }
    int Remove(const std::filesystem::path& path) override {
        return remove ? remove(path) : real.Remove(path);
    }
    platform::PathStatus QueryStatus(const std::filesystem::path& path) override {
        return real.QueryStatus(path);
    }
};

}  // namespace mirvane::testing
