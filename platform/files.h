// The file operations of the crash-safe export write, over the POSIX calls, behind an interface
// so that tests can make any one of them fail. Errors are errno values; 0 means success.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

namespace mirvane::platform {

// Owns one open file descriptor and closes it when it goes, on every path.
class FileDescriptor {
  public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.Release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor();

    bool IsOpen() const { return fd_ >= 0; }
    int Get() const { return fd_; }
    int Release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

  private:
    int fd_ = -1;
};

// What a status query found at a path, following links.
enum class PathStatus {
    Missing,  // nothing of that name: the path is free
    Present,  // a file, folder or link of that name
    Unknown,  // the query failed otherwise (access denied, a link loop, ...): treat as taken
};

class FileOperations {
  public:
    virtual ~FileOperations() = default;

    // Creates a new file for writing; fails with EEXIST when anything of that name exists.
    virtual int CreateNew(const std::filesystem::path& path, FileDescriptor* out) = 0;
    // One write request: the count written (possibly fewer than asked), or -errno.
    virtual std::int64_t Write(int fd, std::span<const std::uint8_t> bytes) = 0;
    // Flushes the file's data and size to the disk.
    virtual int Sync(int fd) = 0;
    // Closes the file; the descriptor is released whatever the result.
    virtual int Close(FileDescriptor& file) = 0;
    // Gives the file `from` the name `to` in the same folder, failing with EEXIST instead of
    // replacing anything that has that name.
    virtual int MoveNoReplace(const std::filesystem::path& from,
                              const std::filesystem::path& to) = 0;
    // Flushes a folder's entries, so that a move into it survives a power loss. EACCES or EPERM
    // when the folder cannot be opened, EINVAL when its filesystem cannot flush folders.
    virtual int SyncFolder(const std::filesystem::path& folder) = 0;
    virtual int Remove(const std::filesystem::path& path) = 0;
    virtual PathStatus QueryStatus(const std::filesystem::path& path) = 0;
};

// The operations on the real file system. Stateless and safe on any thread.
FileOperations& SystemFileOperations();

// QueryStatus of the real file system.
PathStatus QueryPathStatus(const std::filesystem::path& path);

}  // namespace mirvane::platform
