// The crash-safe write with one file operation failing at a time, at every step: whatever fails,
// the export reports failure, nothing appears under the final name or the temporary one, and
// every file already in the folder keeps every byte.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <functional>
#include <string>
#include <vector>

#include "export/atomic_write.h"
#include "faulty_files.h"
#include "folder_state.h"
#include "scratch_folder.h"

namespace mirvane {
namespace {

using platform::FileDescriptor;
using testing::Differences;
using testing::FaultyFiles;
using testing::FolderState;
using testing::StateOf;
using testing::WriteFile;

// The payload goes out in ten write requests, so that the first, a middle and the last can fail.
constexpr std::size_t kWriteRequest = 100'000;
constexpr int kWriteRequests = 10;

std::vector<std::uint8_t> Payload(std::size_t size, std::uint8_t salt = 0) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 31 + i / 251 + salt);
    }
    return bytes;
}

std::string AsString(const std::vector<std::uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// What a write request does once the fault has struck: `after` counts the requests since.
using WriteStep = std::function<std::int64_t(FaultyFiles& files, int fd,
                                             std::span<const std::uint8_t> rest, int after)>;

// The real write, at most one request's worth at a time; from request `failing` on (counted
// from 1) `instead` does the writing.
void WriteInRequests(FaultyFiles& files, int failing = 0, WriteStep instead = {}) {
    files.write = [&files, failing, instead, request = 0](
                      int fd, std::span<const std::uint8_t> rest) mutable -> std::int64_t {
        ++request;
        if (failing > 0 && request >= failing) {
            return instead(files, fd, rest, request - failing);
        }
        return files.real.Write(fd, rest.first(std::min(rest.size(), kWriteRequest)));
    };
}

WriteStep Fails(int error) {
    return [error](FaultyFiles&, int, auto, int) { return std::int64_t{-error}; };
}

struct Fault {
    std::string name;
    std::function<void(FaultyFiles&)> inject;
};

std::vector<Fault> EveryFault() {
    std::vector<Fault> faults;
    for (const auto& [error, name] : {std::pair{EACCES, "EACCES"},
                                      {ENOSPC, "ENOSPC"},
                                      {EDQUOT, "EDQUOT"},
                                      {EROFS, "EROFS"},
                                      {EEXIST, "EEXIST"}}) {
        faults.push_back({std::string("create: ") + name, [error](FaultyFiles& f) {
                              f.create = [error](auto&, FileDescriptor*) { return error; };
                          }});
    }
    for (const auto& [request, which] :
         {std::pair{1, "first"}, {kWriteRequests / 2, "middle"}, {kWriteRequests, "last"}}) {
        for (const auto& [error, name] : {std::pair{EIO, "EIO"},
                                          {ENOSPC, "ENOSPC (disk full)"},
                                          {EFBIG, "EFBIG"},
                                          {EDQUOT, "EDQUOT"}}) {
            faults.push_back(
                {std::string(which) + " write: " + name,
                 [request, error](FaultyFiles& f) { WriteInRequests(f, request, Fails(error)); }});
        }
    }
    faults.push_back({"middle write short, then the disk is full", [](FaultyFiles& f) {
                          WriteInRequests(f, kWriteRequests / 2,
                                          [](FaultyFiles& files, int fd, auto rest, int after) {
                                              return after == 0
                                                         ? files.real.Write(fd, rest.first(1000))
                                                         : -ENOSPC;
                                          });
                      }});
    faults.push_back({"middle write makes no progress", [](FaultyFiles& f) {
                          WriteInRequests(f, kWriteRequests / 2,
                                          [](FaultyFiles&, int, auto, int) { return 0; });
                      }});
    faults.push_back({"first write claims more than it was given", [](FaultyFiles& f) {
                          WriteInRequests(f, 1, [](FaultyFiles& files, int fd, auto rest, int) {
                              return files.real.Write(fd, rest) + 1;
                          });
                      }});
    for (const auto& [error, name] : {std::pair{EIO, "EIO"}, {ENOSPC, "ENOSPC"}}) {
        faults.push_back({std::string("flush: ") + name,
                          [error](FaultyFiles& f) { f.sync = [error](int) { return error; }; }});
        faults.push_back({std::string("close: ") + name, [error](FaultyFiles& f) {
                              f.close = [&f, error](FileDescriptor& file) {
                                  f.real.Close(file);
                                  return error;
                              };
                          }});
    }
    for (const auto& [error, name] : {std::pair{EEXIST, "EEXIST"},
                                      {EXDEV, "EXDEV"},
                                      {EIO, "EIO"},
                                      {ENOSPC, "ENOSPC"},
                                      {EACCES, "EACCES"}}) {
        faults.push_back({std::string("move: ") + name, [error](FaultyFiles& f) {
                              f.move = [error](auto&, auto&) { return error; };
                          }});
    }
    for (const auto& [error, name] : {std::pair{EIO, "EIO"}, {ENOSPC, "ENOSPC"}}) {
        faults.push_back({std::string("folder flush: ") + name, [error](FaultyFiles& f) {
                              f.syncFolder = [error](auto&) { return error; };
                          }});
    }
    return faults;
}

class AtomicWriteFaultTest : public ::testing::Test {
  protected:
    void SetUp() override {
        WriteFile(folder / "sheet-20240131-101502-041-000.png", AsString(Payload(300'000, 7)));
        WriteFile(folder / "sheet-20240131-101502-040-000.png.tmp", "left by an earlier crash");
        WriteFile(folder / "notes.txt", "kept");
        std::filesystem::create_directory(folder / "older");
        WriteFile(folder.Path() / "older" / "sheet.png", AsString(Payload(1000, 3)));
    }

    testing::ScratchFolder folder;
    std::filesystem::path target = folder / "sheet-20240131-101502-042-000.png";
    std::vector<std::uint8_t> bytes = Payload(kWriteRequest * kWriteRequests);
};

TEST_F(AtomicWriteFaultTest, EveryFailingStepLeavesTheFolderAsItWas) {
    const FolderState before = StateOf(folder.Path());
    const std::vector<Fault> faults = EveryFault();
    for (const Fault& fault : faults) {
        SCOPED_TRACE(fault.name);
        FaultyFiles files;
        WriteInRequests(files);
        fault.inject(files);
        EXPECT_FALSE(WriteFileAtomically(target, bytes, files));
        EXPECT_EQ(Differences(before, StateOf(folder.Path())), std::vector<std::string>{});
    }

    // Nothing a failure left behind stands in the way of the next export.
    FaultyFiles healthy;
    WriteInRequests(healthy);
    ASSERT_TRUE(WriteFileAtomically(target, bytes, healthy));
    FolderState after = before;
    after[target.filename().string()] = AsString(bytes);
    EXPECT_EQ(Differences(after, StateOf(folder.Path())), std::vector<std::string>{});
}

// The kernel itself stops the file from growing past a size limit part-way through the write:
// the real calls, nothing stood in for.
// A folder that may be written but not opened, or whose filesystem cannot flush folders, still
// holds the complete file: the export counts as written.
TEST_F(AtomicWriteFaultTest, AFolderThatCannotBeFlushedKeepsTheFile) {
    for (int error : {EACCES, EPERM, EINVAL}) {
        SCOPED_TRACE(error);
        FaultyFiles files;
        files.syncFolder = [error](auto&) { return error; };
        ASSERT_TRUE(WriteFileAtomically(target, bytes, files));
        EXPECT_EQ(StateOf(folder.Path())[target.filename().string()], AsString(bytes));
        std::filesystem::remove(target);
    }
}

TEST_F(AtomicWriteFaultTest, TheKernelRefusingToGrowTheFileLeavesTheFolderAsItWas) {
    const FolderState before = StateOf(folder.Path());
    rlimit original{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &original), 0);
    rlimit limited = original;
    limited.rlim_cur = bytes.size() / 3;
    const auto originalHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const bool written = WriteFileAtomically(target, bytes);
    setrlimit(RLIMIT_FSIZE, &original);
    std::signal(SIGXFSZ, originalHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(Differences(before, StateOf(folder.Path())), std::vector<std::string>{});
}

// Should the clean-up itself fail, the export still fails: what stays behind is at most the
// temporary file, never anything under the final name.
TEST_F(AtomicWriteFaultTest, AFailedCleanUpNeverLeavesAFileUnderTheFinalName) {
    const FolderState before = StateOf(folder.Path());
    FaultyFiles files;
    WriteInRequests(files, kWriteRequests / 2, Fails(ENOSPC));
    files.remove = [](auto&) { return EIO; };
    EXPECT_FALSE(WriteFileAtomically(target, bytes, files));
    const std::string temporary = target.filename().string() + ".tmp";
    EXPECT_EQ(Differences(before, StateOf(folder.Path())),
              std::vector<std::string>{"+" + temporary});
}

}  // namespace
}  // namespace mirvane
