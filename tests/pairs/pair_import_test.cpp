#include "pairs/pair_import.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "archive/photo_limits.h"
#include "localization/status_line.h"
#include "pairs/pair_header.h"
#include "sheet/current_sheet.h"
#include "sheet/export_gate.h"
#include "support/pair_files.h"
#include "support/test_images.h"

namespace mirvane {
namespace {

std::vector<int> YearsOf(const Sheet& sheet) {
    std::vector<int> years;
    for (const Frame& frame : sheet.frames) {
        years.push_back(frame.year);
    }
    return years;
}

class PairImportTest : public ::testing::Test {
  protected:
    // Writes a pair file of two small pictures told apart by their grey level.
    QString Write(const QString& name, std::uint32_t firstYear, std::uint32_t secondYear,
                  std::uint8_t grey = 100) {
        return WriteRaw(
            name, testing::PairFile(firstYear, testing::FlatGreyJpeg(40, 30, grey), secondYear,
                                    testing::EncodeWithQt(testing::QuadrantImage(30, 40), "png")));
    }
    QString WriteRaw(const QString& name, const Bytes& bytes) {
        const QString path = dir_.filePath(name);
        EXPECT_TRUE(testing::WriteBytes(path, bytes));
        return path;
    }
    std::optional<Sheet> Import(std::vector<QString> paths) { return ImportPairFiles(paths); }

    QTemporaryDir dir_;
};

TEST_F(PairImportTest, OneFileMakesTwoFramesInYearOrder) {
    const auto sheet = Import({Write("later-first.qmp", 2015, 1990)});
    ASSERT_TRUE(sheet.has_value());
    EXPECT_EQ(sheet->title, "Saved moments");
    EXPECT_FALSE(sheet->fromArchive);
    EXPECT_EQ(YearsOf(*sheet), (std::vector<int>{1990, 2015}));
    EXPECT_EQ(sheet->frames[0].preview->Size(), QSize(30, 40)) << "the PNG was the 1990 photo";
}

TEST_F(PairImportTest, ThreeFilesKeepFileOrderOnSharedYears) {
    const QString a = Write("a.qmp", 2010, 2001, 10);
    const QString b = Write("b.QMP", 1995, 2010, 20);
    const QString c = Write("c.qmp", 2010, 2020, 30);
    const auto sheet = Import({a, b, c});
    ASSERT_TRUE(sheet.has_value());
    EXPECT_EQ(YearsOf(*sheet), (std::vector<int>{1995, 2001, 2010, 2010, 2010, 2020}));
    // The three 2010 frames: a's JPEG (grey 10), b's PNG, c's JPEG (grey 30).
    EXPECT_EQ(qGray(sheet->frames[2].preview->Image().pixel(5, 5)), 10);
    EXPECT_EQ(sheet->frames[3].preview->Size(), QSize(30, 40));
    EXPECT_EQ(qGray(sheet->frames[4].preview->Image().pixel(5, 5)), 30);
}

TEST_F(PairImportTest, RefusesWrongFileCounts) {
    const QString a = Write("a.qmp", 2000, 2001);
    EXPECT_FALSE(Import({}).has_value());
    EXPECT_FALSE(Import({a, a, a, a}).has_value());
    EXPECT_TRUE(Import({a, a, a}).has_value()) << "the same file thrice is three files";
}

TEST_F(PairImportTest, OneBadFileFailsTheWholeImport) {
    const QString a = Write("a.qmp", 2000, 2001);
    const QString b = Write("b.qmp", 2002, 2003);
    Bytes broken = testing::ReadBytes(a);
    broken.push_back(0);
    const QString trailing = WriteRaw("trailing.qmp", broken);
    const QString undecodable =
        WriteRaw("undecodable.qmp",
                 testing::PairFile(2000, testing::FlatGreyJpeg(8, 8), 2001, Bytes(64, 7)));
    const QString gif = WriteRaw(
        "gif.qmp", testing::PairFile(2000, testing::TinyGif(), 2001, testing::FlatGreyJpeg(8, 8)));
    const QString wrongName = Write("a.qmp.bak", 2000, 2001);
    QDir(dir_.path()).mkdir("folder.qmp");

    for (const QString& third :
         {trailing, undecodable, gif, wrongName, dir_.filePath("missing.qmp"),
          dir_.filePath("folder.qmp"), QString("a.qmp"), QString()}) {
        EXPECT_FALSE(Import({a, b, third}).has_value()) << third.toStdString();
    }
}

// A colon is an ordinary character of a file name here, not the start of a stream's name.
TEST_F(PairImportTest, JudgesTheExtensionOnTheWholeFileName) {
    EXPECT_TRUE(Import({Write("a:b.qmp", 2000, 2001)}).has_value());
    EXPECT_FALSE(Import({Write("photos.qmp:old", 2000, 2001)}).has_value());
}

TEST_F(PairImportTest, RefusesNetworkFilesystems) {
    const QString a = Write("a.qmp", 2000, 2001);
    const std::vector<QString> paths = {a};
    EXPECT_FALSE(ImportPairFiles(paths, [](const QString&) {
                     return std::int64_t{0xff534d42};
                 }).has_value());
}

TEST_F(PairImportTest, ReadsNoFileAboveTheLargestValidSize) {
    const QString a = Write("a.qmp", 2000, 2001);
    QFile file(a);
    ASSERT_TRUE(file.resize(qint64(kMaxPairFileBytes) + 1));
    EXPECT_TRUE(platform::ReadWholeFile(a, kMaxPairFileBytes).empty());
    EXPECT_EQ(platform::ReadWholeFile(a, kMaxPairFileBytes + 1).size(), kMaxPairFileBytes + 1);
    EXPECT_FALSE(Import({a}).has_value());
}

// Two files of the largest size hold 160 MiB of photographs together, the most one sheet may
// have; a third file of any size then crosses the budget. Sparse files keep this quick.
TEST_F(PairImportTest, PhotoBytesAreCappedPerImport) {
    const Bytes photo = testing::FlatGreyJpeg(16, 16);
    const auto size = std::uint32_t(kMaxPhotoBytes);
    auto largest = [&](const QString& name, std::uint32_t year) {
        Bytes start = testing::PairHeaderBytes(
            {.firstYear = year, .secondYear = year + 1, .firstSize = size, .secondSize = size});
        start.insert(start.end(), photo.begin(), photo.end());
        const QString path = WriteRaw(name, start);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadWrite));
        EXPECT_TRUE(file.seek(qint64(kPairHeaderSize) + size));
        EXPECT_EQ(file.write(reinterpret_cast<const char*>(photo.data()), qint64(photo.size())),
                  qint64(photo.size()));
        EXPECT_TRUE(file.resize(qint64(kMaxPairFileBytes)));
        return path;
    };
    const QString a = largest("a.qmp", 2000);
    const QString b = largest("b.qmp", 2010);
    const auto sheet = Import({a, b});
    ASSERT_TRUE(sheet.has_value());
    EXPECT_EQ(sheet->frames.size(), 4u);
    EXPECT_FALSE(Import({a, b, Write("small.qmp", 1900, 1901)}).has_value());
}

TEST_F(PairImportTest, OpenPairFilesReplacesTheSheetOnlyOnSuccess) {
    const std::vector<QString> good = {Write("a.qmp", 2000, 2001)};
    const std::vector<QString> bad = {dir_.filePath("missing.qmp")};
    const Bytes before = testing::ReadBytes(good[0]);

    ASSERT_TRUE(OpenPairFiles(good));
    EXPECT_EQ(currentSheet.title, "Saved moments");
    EXPECT_EQ(statusText, UiText(TextId::ReadyStatus));
    EXPECT_FALSE(statusIsError);
    const auto shown = currentSheet.frames[0].encodedBytes;

    EXPECT_FALSE(OpenPairFiles(bad));
    EXPECT_EQ(currentSheet.frames[0].encodedBytes, shown);
    EXPECT_EQ(statusText,
              "Cannot open this pair. Use 1-3 valid local Quillmere .qmp files. "
              "The current sheet is unchanged.");
    EXPECT_TRUE(statusIsError);

    exportBusy = true;
    SetStatusText("unchanged", false);
    EXPECT_FALSE(OpenPairFiles(good));
    EXPECT_FALSE(OpenPairFiles(bad));
    EXPECT_EQ(statusText, "unchanged");
    EXPECT_EQ(currentSheet.frames[0].encodedBytes, shown);
    exportBusy = false;

    EXPECT_EQ(testing::ReadBytes(good[0]), before) << "pair files are only read";
    ReleaseCurrentSheetFrames();
}

}  // namespace
}  // namespace mirvane
