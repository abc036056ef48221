#include "platform/file_reading.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>

#include "platform/memory_advice.h"

namespace mirvane::platform {
namespace {

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int Get() const { return fd_; }

  private:
    int fd_;
};

}  // namespace

Bytes LargeBytes(std::size_t size) {
    Bytes bytes;
    bytes.reserve(size);  // not touched yet: a buffer this large is mapped afresh
    PreferHugePages(bytes.data(), size);
    bytes.resize(size);
    return bytes;
}

Bytes ReadWholeFile(const QString& path, std::uint64_t limit) {
    const QByteArray nativePath = QFile::encodeName(path);
    if (path.isEmpty() || path.contains(QChar(u'\0'))) {
        return {};
    }
    // Non-blocking, so that a FIFO put in a file's place cannot stall the program; the size is
    // taken from the opened file itself, so it cannot be swapped between the check and the read.
    const FileDescriptor file(
        ::open(nativePath.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    struct stat status {};
    if (file.Get() < 0 || ::fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode) ||
        status.st_size <= 0 || static_cast<std::uint64_t>(status.st_size) > limit) {
        return {};
    }
    Bytes bytes = LargeBytes(static_cast<std::size_t>(status.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(file.Get(), bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return {};  // an error, or the file became shorter
        }
        done += static_cast<std::size_t>(got);
    }
    return bytes;
}

std::optional<std::int64_t> FilesystemTypeOf(const QString& path) {
    struct statfs info {};
    if (::statfs(QFile::encodeName(path).constData(), &info) != 0) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(info.f_type);
}

}  // namespace mirvane::platform
