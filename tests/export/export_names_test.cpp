#include "export/export_names.h"

#include <gtest/gtest.h>

#include "scratch_folder.h"

namespace mirvane {
namespace {

using namespace std::chrono;
using platform::PathStatus;
using testing::WriteFile;

constexpr UtcTimestamp kLastDayOfJanuary{2024, 1, 31, 10, 15, 2, 42};

TEST(ExportFileName, FollowsTheNamePatternWithZeroPadding) {
    EXPECT_EQ(ExportFileName(kLastDayOfJanuary, 0, ".png"), "sheet-20240131-101502-042-000.png");
    EXPECT_EQ(ExportFileName({2009, 3, 4, 5, 6, 7, 8}, 9, ".png"),
              "sheet-20090304-050607-008-009.png");
    EXPECT_EQ(ExportFileName({2099, 12, 31, 23, 59, 59, 999}, 999, ""),
              "sheet-20991231-235959-999-999");
}

TEST(UtcTimestampOf, BreaksDownTheMomentInUtc) {
    const sys_time<milliseconds> moment =
        sys_days{2024y / February / 29} + 23h + 59min + 58s + 999ms;
    const UtcTimestamp time = UtcTimestampOf(moment + 700us);  // truncated, not rounded
    EXPECT_EQ(ExportFileName(time, 0, ""), "sheet-20240229-235958-999-000");
    EXPECT_EQ(ExportFileName(UtcTimestampOf(sys_days{1970y / January / 1}), 0, ""),
              "sheet-19700101-000000-000-000");
}

TEST(MakeUniqueExportPath, SkipsTakenNamesInARealFolder) {
    testing::ScratchFolder folder;
    for (int counter = 0; counter < 4; ++counter) {
        WriteFile(folder / ExportFileName(kLastDayOfJanuary, counter, ".png"), "x");
    }
    // A folder holds the name as well as a file does.
    std::filesystem::create_directory(folder / ExportFileName(kLastDayOfJanuary, 4, ".png"));
    EXPECT_EQ(
        MakeUniqueExportPath(folder.Path(), ".png", kLastDayOfJanuary, platform::QueryPathStatus),
        folder / "sheet-20240131-101502-042-005.png");
}

TEST(MakeUniqueExportPath, TreatsAFailedQueryAsTaken) {
    int queries = 0;
    const auto freeFrom = [&](int firstFree, PathStatus before) {
        queries = 0;
        return [&queries, firstFree, before](const std::filesystem::path&) {
            return queries++ < firstFree ? before : PathStatus::Missing;
        };
    };
    EXPECT_EQ(
        MakeUniqueExportPath("/e", ".png", kLastDayOfJanuary, freeFrom(999, PathStatus::Unknown)),
        "/e/sheet-20240131-101502-042-999.png");
    EXPECT_EQ(
        MakeUniqueExportPath("/e", ".png", kLastDayOfJanuary, freeFrom(1000, PathStatus::Present)),
        std::filesystem::path());
    EXPECT_EQ(queries, 1000);
}

TEST(MakeUniqueExportPath, JoinsWithOneSeparator) {
    const auto anything = [](const std::filesystem::path&) { return PathStatus::Missing; };
    EXPECT_EQ(MakeUniqueExportPath("/e/", ".png", kLastDayOfJanuary, anything),
              "/e/sheet-20240131-101502-042-000.png");
    EXPECT_EQ(MakeUniqueExportPath("", ".png", kLastDayOfJanuary, anything),
              "sheet-20240131-101502-042-000.png");
}

TEST(QueryPathStatus, OnlyANameThatIsNotThereIsMissing) {
    testing::ScratchFolder folder;
    WriteFile(folder / "file", "x");
    std::filesystem::create_symlink("nowhere", folder / "dangling");
    std::filesystem::create_symlink("loop", folder / "loop");

    EXPECT_EQ(platform::QueryPathStatus(folder / "absent"), PathStatus::Missing);
    EXPECT_EQ(platform::QueryPathStatus(folder / "file" / "below"), PathStatus::Missing);
    EXPECT_EQ(platform::QueryPathStatus(folder / "file"), PathStatus::Present);
    EXPECT_EQ(platform::QueryPathStatus(folder.Path()), PathStatus::Present);
    EXPECT_EQ(platform::QueryPathStatus(folder / "dangling"), PathStatus::Present);
    EXPECT_EQ(platform::QueryPathStatus(folder / "loop"), PathStatus::Unknown);
}

}  // namespace
}  // namespace mirvane
