#include "export/atomic_write.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "faulty_files.h"
#include "scratch_folder.h"

namespace mirvane {
namespace {

using testing::Entries;
using testing::FaultyFiles;
using testing::ReadFile;
using testing::WriteFile;

std::vector<std::uint8_t> Payload(std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 31 + i / 251);
    }
    return bytes;
}

std::string AsString(const std::vector<std::uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

class WriteFileAtomicallyTest : public ::testing::Test {
  protected:
    testing::ScratchFolder folder;
    std::filesystem::path target = folder / "sheet.png";
    std::vector<std::uint8_t> bytes = Payload(100'000);
    FaultyFiles files;

    void ExpectFolderEmpty() { EXPECT_EQ(Entries(folder.Path()), std::vector<std::string>{}); }
};

TEST_F(WriteFileAtomicallyTest, WritesExactlyTheBytesAndLeavesNoTemporaryFile) {
    ASSERT_TRUE(WriteFileAtomically(target, bytes, files));
    EXPECT_EQ(ReadFile(target), AsString(bytes));
    EXPECT_EQ(Entries(folder.Path()), std::vector<std::string>{"sheet.png"});

    const auto empty = folder / "empty.png";
    ASSERT_TRUE(WriteFileAtomically(empty, {}, files));
    EXPECT_EQ(std::filesystem::file_size(empty), 0u);
}

TEST_F(WriteFileAtomicallyTest, ContinuesAfterShortWrites) {
    files.write = [&](int fd, std::span<const std::uint8_t> rest) {
        return files.real.Write(fd, rest.first(std::min<std::size_t>(rest.size(), 4093)));
    };
    ASSERT_TRUE(WriteFileAtomically(target, bytes, files));
    EXPECT_EQ(ReadFile(target), AsString(bytes));
}

TEST_F(WriteFileAtomicallyTest, NeverReplacesAnExistingTarget) {
    WriteFile(target, "earlier export");
    EXPECT_FALSE(WriteFileAtomically(target, bytes, files));
    EXPECT_EQ(ReadFile(target), "earlier export");
    EXPECT_EQ(Entries(folder.Path()), std::vector<std::string>{"sheet.png"});

    // The same when the target appears while the temporary file is being written.
    const auto late = folder / "late.png";
    files.sync = [&](int fd) {
        WriteFile(late, "someone else's");
        return files.real.Sync(fd);
    };
    EXPECT_FALSE(WriteFileAtomically(late, bytes, files));
    EXPECT_EQ(ReadFile(late), "someone else's");
    EXPECT_EQ(Entries(folder.Path()), (std::vector<std::string>{"late.png", "sheet.png"}));
}

TEST_F(WriteFileAtomicallyTest, LeavesAnExistingTemporaryFileAlone) {
    WriteFile(folder / "sheet.png.tmp", "left by a crash");
    EXPECT_FALSE(WriteFileAtomically(target, bytes, files));
    EXPECT_EQ(ReadFile(folder / "sheet.png.tmp"), "left by a crash");
    EXPECT_EQ(Entries(folder.Path()), std::vector<std::string>{"sheet.png.tmp"});
}

TEST_F(WriteFileAtomicallyTest, FailsWithoutTouchingTheDiskForAnEmptyTargetOrMissingFolder) {
    EXPECT_FALSE(WriteFileAtomically({}, bytes, files));
    EXPECT_EQ(files.createCalls, 0);
    EXPECT_FALSE(WriteFileAtomically(folder / "missing" / "sheet.png", bytes, files));
    ExpectFolderEmpty();
}

// The real calls in a folder of mode -wx: the file can be made and moved there, but the folder
// cannot be opened to flush it. Root opens every folder, so the write runs in a child process
// with an ordinary user's rights.
TEST(WriteFileAtomicallyInWriteOnlyFolder, KeepsTheCompleteFile) {
    const std::vector<std::uint8_t> bytes = Payload(100'000);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
            _exit(10);
        }
        char name[] = "/tmp/mirvane-wx-XXXXXX";
        if (mkdtemp(name) == nullptr || chmod(name, 0300) != 0) {
            _exit(11);
        }
        const std::filesystem::path folder = name;
        const std::filesystem::path target = folder / "sheet.png";
        const bool unreadable = open(name, O_RDONLY | O_DIRECTORY) < 0 && errno == EACCES;
        const bool written = WriteFileAtomically(target, bytes);
        struct stat status {};
        const bool complete = stat(target.c_str(), &status) == 0 &&
                              static_cast<std::size_t>(status.st_size) == bytes.size();
        unlink(target.c_str());
        chmod(name, 0700);
        rmdir(name);
        _exit(!unreadable ? 12 : !written ? 13 : !complete ? 14 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "10: no ordinary user, 11: no folder, 12: the folder "
                                         "could be read, 13: reported as failed, 14: no file";
}

}  // namespace
}  // namespace mirvane
