#include "export/export_sheet.h"

#include <gtest/gtest.h>

#include <QImage>
#include <cstring>
#include <stdexcept>

#include "archive/catalog.h"
#include "archive/frame_preparation.h"
#include "export/png_encoder.h"
#include "faulty_files.h"
#include "pairs/pair_import.h"
#include "render/palette.h"
#include "scratch_folder.h"
#include "sheet/compose.h"
#include "support/pair_files.h"
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

TEST_F(ExportSheetToPngTest, AFrameThatNoLongerDecodesFailsAndLeavesNoFile) {
    Sheet sheet = SheetOf(3);
    Bytes truncated = *sheet.frames[2].encodedBytes;
    truncated.resize(truncated.size() / 2);
    sheet.frames[2].encodedBytes = std::make_shared<const Bytes>(std::move(truncated));

    EXPECT_FALSE(
        ExportSheetToPng(sheet, 3, 3000, UiLanguage::English, target, kMaxPngBytes, files));
    EXPECT_EQ(Entries(folder.Path()), std::vector<std::string>{});
}

TEST_F(ExportSheetToPngTest, APngOverTheCapFailsAndLeavesNoFile) {
    std::size_t written = 0;
    files.write = [&](int fd, std::span<const std::uint8_t> bytes) {
        written += bytes.size();
        return files.real.Write(fd, bytes);
    };
    EXPECT_FALSE(
        ExportSheetToPng(SheetOf(2), 2, 3000, UiLanguage::English, target, 100'000, files));
    EXPECT_GT(written, 0u) << "the cap is crossed while writing";
    EXPECT_LE(written, 100'000u) << "no byte beyond the cap is written";
    EXPECT_EQ(Entries(folder.Path()), std::vector<std::string>{});
}

// Drawn and written band by band, the sheet is the one drawn whole into one surface: no band's
// edge moves, repeats or loses a pixel, and every photograph is in every band that shows it.
TEST_F(ExportSheetToPngTest, TheBandedFileHoldsExactlyThePixelsOfTheWholeSheetDrawnAtOnce) {
    const std::vector<int> powell = ArchiveRowsOf(u"Lake Powell");
    ASSERT_GE(powell.size(), 6u);
    // Pair files of textured photographs of both orientations, so that each edge shows.
    std::vector<QString> pairFiles;
    for (int i = 0; i < 3; ++i) {
        const QString path =
            QString::fromStdString(folder.Path().string()) + QStringLiteral("/p%1.qmp").arg(i);
        ASSERT_TRUE(testing::WriteBytes(
            path, testing::PairFile(
                      2000 + i, testing::JpegOf(testing::DetailedImage(1900, 1300 + 100 * i)),
                      2010 + i, testing::JpegOf(testing::DetailedImage(1100, 1700)))));
        pairFiles.push_back(path);
    }
    const struct {
        bool archive;
        std::size_t frames;
        int width, columns;
    } cases[] = {{true, 2, 3000, 2},  {true, 3, 4500, 3},  {true, 5, 3000, 3}, {true, 6, 4500, 2},
                 {false, 2, 4500, 2}, {false, 4, 3000, 3}, {false, 6, 4500, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << (c.archive ? "archive, " : "pairs, ") << c.frames << " frames, " << c.width
                     << " px, " << c.columns << " columns");
        const std::optional<Sheet> sheet =
            c.archive ? ComposeFromArchive(std::span(powell).first(c.frames))
                      : ImportPairFiles(std::span(pairFiles).first(c.frames / 2));
        ASSERT_TRUE(sheet.has_value());
        imaging::Bitmap whole;
        ASSERT_TRUE(RenderSheetForExport(*sheet, c.columns, c.width, UiLanguage::English, &whole));
        ASSERT_TRUE(ExportSheetToPng(*sheet, c.columns, c.width, UiLanguage::English, target));
        const QImage banded = QImage(QString::fromStdString(target.string()), "PNG")
                                  .convertToFormat(QImage::Format_RGB32);
        const QImage expected = whole.Image().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(banded.size(), expected.size());
        int differing = 0;
        for (int y = 0; y < expected.height() && differing == 0; ++y) {
            if (std::memcmp(banded.constScanLine(y), expected.constScanLine(y),
                            static_cast<std::size_t>(expected.width()) * 4) != 0) {
                ADD_FAILURE() << "row " << y << " differs";
                ++differing;
            }
        }
        std::filesystem::remove(target);
    }
}

}  // namespace
}  // namespace mirvane
