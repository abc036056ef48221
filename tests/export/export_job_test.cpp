#include "export/export_job.h"

#include <gtest/gtest.h>

#include <QImage>
#include <chrono>
#include <future>
#include <memory>

#include "archive/frame_preparation.h"
#include "render/sheet_geometry.h"
#include "scratch_folder.h"
#include "sheet/current_sheet.h"
#include "support/test_images.h"

namespace mirvane {
namespace {

using namespace std::chrono_literals;

// Far beyond any export of these small sheets, even under a sanitizer: only a hung worker
// reaches it.
constexpr auto kWorkerBound = 120s;

Sheet SheetOf(int frames, int firstYear) {
    Sheet sheet;
    sheet.title = "Lake Powell";
    for (int i = 0; i < frames; ++i) {
        std::optional<Frame> frame =
            PrepareFrame(testing::JpegOf(testing::DetailedImage(400 + 30 * i, 300)), firstYear + i);
        EXPECT_TRUE(frame.has_value());
        if (frame) {
            sheet.frames.push_back(*frame);
        }
    }
    return sheet;
}

// A job whose report fulfils `outcome`, counting how often it was called.
std::unique_ptr<ExportJob> JobFor(Sheet sheet, const std::filesystem::path& target,
                                  std::promise<bool>& outcome, std::atomic<int>& reports) {
    auto job = std::make_unique<ExportJob>();
    job->sheet = std::move(sheet);
    job->columns = 3;
    job->width = 3000;
    job->language = UiLanguage::French;
    job->targetPath = target;
    job->report = [&outcome, &reports](bool written) {
        ++reports;
        outcome.set_value(written);
    };
    return job;
}

class ExportJobTest : public ::testing::Test {
  protected:
    void TearDown() override { ReleaseCurrentSheetFrames(); }

    testing::ScratchFolder folder;
    std::filesystem::path target = folder / "sheet.png";
    std::promise<bool> outcome;
    std::atomic<int> reports = 0;
};

TEST_F(ExportJobTest, ReportsOnceWhetherTheWholeFileWasWritten) {
    RunExportJob(JobFor(SheetOf(2, 2001), target, outcome, reports));
    EXPECT_TRUE(outcome.get_future().get());
    EXPECT_EQ(reports, 1);
    EXPECT_FALSE(QImage(QString::fromStdString(target.string()), "PNG").isNull());
}

TEST_F(ExportJobTest, AnExceptionInsideCountsAsAFailedExportAndNothingIsWritten) {
    // One frame is no sheet: the geometry throws, and the worker must not let it escape.
    RunExportJob(JobFor(SheetOf(1, 2001), target, outcome, reports));
    EXPECT_FALSE(outcome.get_future().get());
    EXPECT_EQ(reports, 1);
    EXPECT_TRUE(testing::Entries(folder.Path()).empty());
}

TEST_F(ExportJobTest, AFailedWriteIsReportedAsSuch) {
    // The target's folder does not exist, so not even the temporary file can be made.
    RunExportJob(JobFor(SheetOf(2, 2001), folder / "missing" / "sheet.png", outcome, reports));
    EXPECT_FALSE(outcome.get_future().get());
}

TEST_F(ExportJobTest, TheSnapshotKeepsItsFramesWhileTheCurrentSheetIsReplaced) {
    ReplaceCurrentSheet(SheetOf(3, 1990));
    std::future<bool> written = outcome.get_future();
    ASSERT_TRUE(StartExportThread(JobFor(currentSheet, target, outcome, reports)));

    // While the worker renders, this thread replaces and reads the current sheet, as the window
    // would if nothing held it back.
    for (int round = 0; round < 3; ++round) {
        ReplaceCurrentSheet(SheetOf(2, 2010 + round));
        EXPECT_EQ(currentSheet.frames.size(), 2u);
        EXPECT_FALSE(currentSheet.frames.front().preview->Image().isNull());
    }
    ReleaseCurrentSheetFrames();

    ASSERT_EQ(written.wait_for(kWorkerBound), std::future_status::ready);
    EXPECT_TRUE(written.get());
    const QImage png(QString::fromStdString(target.string()), "PNG");
    // The snapshot's three frames, not the two of the sheets that replaced it.
    const SheetGeometry geometry = ComputeSheetGeometry(3000, 3, 3);
    EXPECT_EQ(png.size(), QSize(geometry.width, geometry.height));
}

}  // namespace
}  // namespace mirvane
