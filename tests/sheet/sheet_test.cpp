#include <gtest/gtest.h>

#include "archive/frame_preparation.h"
#include "sheet/current_sheet.h"
#include "support/test_images.h"

namespace mirvane {
namespace {

Frame FrameOf(std::int32_t year, std::uint8_t grey = 128) {
    std::optional<Frame> frame = PrepareFrame(testing::FlatGreyJpeg(16, 16, grey), year);
    EXPECT_TRUE(frame.has_value());
    return frame.value_or(Frame{});
}

TEST(SortFramesByYear, AscendingAndStable) {
    std::vector<Frame> frames = {FrameOf(2010, 1), FrameOf(2001), FrameOf(2010, 2), FrameOf(1999)};
    const auto firstOf2010 = frames[0].encodedBytes;
    const auto secondOf2010 = frames[2].encodedBytes;
    SortFramesByYear(frames);
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(frames[0].year, 1999);
    EXPECT_EQ(frames[1].year, 2001);
    EXPECT_EQ(frames[2].encodedBytes, firstOf2010);
    EXPECT_EQ(frames[3].encodedBytes, secondOf2010);
}

TEST(CurrentSheet, ReplacingLeavesAnExportSnapshotIntact) {
    EXPECT_TRUE(currentSheet.title.isEmpty());
    EXPECT_TRUE(currentSheet.frames.empty());
    EXPECT_TRUE(currentSheet.fromArchive);

    ReplaceCurrentSheet(Sheet{"First", {FrameOf(2000, 10), FrameOf(2001, 20)}, true});
    const Sheet snapshot = currentSheet;  // what an export job holds
    EXPECT_EQ(snapshot.frames[0].preview, currentSheet.frames[0].preview) << "shared, not copied";

    ReplaceCurrentSheet(Sheet{"Second", {FrameOf(2002), FrameOf(2003)}, false});
    EXPECT_EQ(currentSheet.title, "Second");
    EXPECT_FALSE(currentSheet.fromArchive);
    ASSERT_EQ(snapshot.frames.size(), 2u);
    EXPECT_EQ(snapshot.frames[0].encodedBytes.use_count(), 1) << "only the snapshot holds it";
    EXPECT_EQ(qGray(snapshot.frames[1].preview->Image().pixel(8, 8)), 20);

    ReleaseCurrentSheetFrames();
    EXPECT_TRUE(currentSheet.frames.empty());
}

}  // namespace
}  // namespace mirvane
