#include "export/export_sheet.h"

#include <gtest/gtest.h>

#include <QImage>
#include <stdexcept>

#include "archive/frame_preparation.h"
#include "export/png_encoder.h"
#include "faulty_files.h"
#include "render/palette.h"
#include "scratch_folder.h"
#include "support/test_images.h"

namespace mirvane {
namespace {

using testing::Entries;

Frame FrameOf(int year, int width, int height) {
    std::optional<Frame> frame =
        PrepareFrame(testing::JpegOf(testing::DetailedImage(width, height)), year);
    EXPECT_TRUE(frame.has_value());
    return frame ? *frame : Frame{};
}

Sheet SheetOf(int frames) {
    Sheet sheet;
    sheet.title = "Aral Sea";
    for (int i = 0; i < frames; ++i) {
        sheet.frames.push_back(FrameOf(2000 + i, 320 + 40 * i, 240));
    }
    return sheet;
}

class ExportSheetToPngTest : public ::testing::Test {
  protected:
    testing::ScratchFolder folder;
    std::filesystem::path target = folder / "sheet.png";
    testing::FaultyFiles files;
};

TEST_F(ExportSheetToPngTest, WritesTheRenderedSheetAsAnOpaquePngOfTheGeometrysSize) {
    ASSERT_TRUE(ExportSheetToPng(SheetOf(2), 2, 3000, UiLanguage::German, target));
    EXPECT_EQ(Entries(folder.Path()), std::vector<std::string>{"sheet.png"});

    QImage png(QString::fromStdString(target.string()), "PNG");
    ASSERT_FALSE(png.isNull());
    EXPECT_EQ(png.size(), QSize(3000, 1817));
    EXPECT_FALSE(png.hasAlphaChannel());
    EXPECT_EQ(png.pixel(1, 1), palette::kPaper);
    EXPECT_EQ(png.pixel(2999, 1816), palette::kPaper);
}

TEST_F(ExportSheetToPngTest, InvalidGeometryThrowsAndTouchesNothing) {
    const Sheet two = SheetOf(2);
    for (const auto& [sheet, columns, width] :
         {std::tuple{two, 2, 3001}, std::tuple{two, 4, 3000}, std::tuple{SheetOf(1), 2, 4500},
          std::tuple{SheetOf(7), 3, 3000}}) {
        try {
            ExportSheetToPng(sheet, columns, width, UiLanguage::English, target);
            ADD_FAILURE() << "no exception for " << columns << " columns, width " << width;
        } catch (const std::invalid_argument& error) {
            EXPECT_STREQ(error.what(), "Invalid sheet geometry");
        }
    }
    EXPECT_EQ(Entries(folder.Path()), std::vector<std::string>{});
}

TEST_F(ExportSheetToPngTest, AFrameThatNoLongerDecodesFailsBeforeAnyFileIsMade) {
    Sheet sheet = SheetOf(3);
    Bytes truncated = *sheet.frames[2].encodedBytes;
    truncated.resize(truncated.size() / 2);
    sheet.frames[2].encodedBytes = std::make_shared<const Bytes>(std::move(truncated));

    EXPECT_FALSE(
        ExportSheetToPng(sheet, 3, 3000, UiLanguage::English, target, kMaxPngBytes, files));
    EXPECT_EQ(files.createCalls, 0);
    EXPECT_EQ(Entries(folder.Path()), std::vector<std::string>{});
}

TEST_F(ExportSheetToPngTest, APngOverTheCapFailsBeforeAnyFileIsMade) {
    EXPECT_FALSE(
        ExportSheetToPng(SheetOf(2), 2, 3000, UiLanguage::English, target, 100'000, files));
    EXPECT_EQ(files.createCalls, 0);
    EXPECT_EQ(Entries(folder.Path()), std::vector<std::string>{});
}

}  // namespace
}  // namespace mirvane
