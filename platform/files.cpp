#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace mirvane::platform {
namespace {

class SystemFiles final : public FileOperations {
  public:
    int CreateNew(const std::filesystem::path& path, FileDescriptor* out) override {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            return errno;
        }
        *out = FileDescriptor(fd);
        return 0;
    }

    std::int64_t Write(int fd, std::span<const std::uint8_t> bytes) override {
        for (;;) {
            const ssize_t written = ::write(fd, bytes.data(), bytes.size());
            if (written >= 0) {
                return written;
            }
            if (errno != EINTR) {
                return -errno;
            }
        }
    }

    int Sync(int fd) override { return ::fsync(fd) == 0 ? 0 : errno; }

    int Close(FileDescriptor& file) override {
        // Linux releases the descriptor even when close reports EINTR, so it is never retried.
        const int result = ::close(file.Release());
        return result == 0 || errno == EINTR ? 0 : errno;
    }

    int MoveNoReplace(const std::filesystem::path& from, const std::filesystem::path& to) override {
        if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
            return 0;
        }
        const int error = errno;
        if (error != EINVAL && error != ENOSYS && error != EOPNOTSUPP) {
            return error;
        }
        // The filesystem cannot refuse to replace within a rename; a hard link refuses by
        // itself. Once linked the target is complete, so a failing unlink of the old name no
        // longer undoes the move.
        if (::link(from.c_str(), to.c_str()) != 0) {
            return errno;
        }
        ::unlink(from.c_str());
        return 0;
    }

    int SyncFolder(const std::filesystem::path& folder) override {
        const FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (!dir.IsOpen()) {
            return errno;
        }
        return ::fsync(dir.Get()) == 0 ? 0 : errno;
    }

    int Remove(const std::filesystem::path& path) override {
        return ::unlink(path.c_str()) == 0 ? 0 : errno;
    }

    PathStatus QueryStatus(const std::filesystem::path& path) override {
        return QueryPathStatus(path);
    }
};

}  // namespace

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = other.Release();
    }
    return *this;
}

FileDescriptor::~FileDescriptor() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

FileOperations& SystemFileOperations() {
    static SystemFiles files;
    return files;
}

PathStatus QueryPathStatus(const std::filesystem::path& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0) {
        return PathStatus::Present;
    }
    const int error = errno;
    if (error != ENOENT && error != ENOTDIR) {
        return PathStatus::Unknown;
    }
    // A link whose target is missing still holds the name.
    return ::lstat(path.c_str(), &status) == 0 ? PathStatus::Present : PathStatus::Missing;
}

}  // namespace mirvane::platform
