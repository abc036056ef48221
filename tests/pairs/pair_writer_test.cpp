#include "pairs/pair_writer.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>

#include "export/faulty_files.h"
#include "pairs/pair_import.h"
#include "pairs/user_photos.h"
#include "support/pair_files.h"
#include "support/test_images.h"

namespace mirvane {
namespace {

// A picture with transparency, so that PNGs with alpha keep it.
QImage Translucent(int width, int height, QImage::Format format) {
    QImage image = testing::DetailedImage(width, height).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, (image.pixel(x, y) & 0xffffff) | QRgb(255 - 3 * x) << 24);
        }
    }
    return image.convertToFormat(format);
}

Frame FrameOf(std::int32_t year, Bytes bytes) {
    return Frame{year, std::make_shared<const Bytes>(std::move(bytes)), nullptr};
}

class PairWriterTest : public ::testing::Test {
  protected:
    QString Path(const QString& name) const { return dir_.filePath(name); }
    QStringList Entries() const {
        return QDir(dir_.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
    }
    QTemporaryDir dir_;
};

// Photographs of every kind the decoder takes go into pair files that the window's import
// opens, each file holding the header and both photographs' bytes unchanged, in the order given.
TEST_F(PairWriterTest, PairsOfEveryKindOfPhotographImportWithTheirYearsAndUprightSizes) {
    using testing::DetailedImage;
    using testing::EncodeWithQt;
    using testing::JpegOf;
    struct Photo {
        const char* name;
        Bytes bytes;
        std::int32_t year;
        QSize upright;
    };
    const Photo photos[] = {
        {"baseline.jpg", JpegOf(DetailedImage(120, 80)), 2011, {120, 80}},
        {"progressive.jpg", JpegOf(DetailedImage(90, 60), true), 1987, {90, 60}},
        {"turned.jpg",
         testing::WithExifOrientation(JpegOf(testing::QuadrantImage(80, 50)), 6),
         1999,
         {50, 80}},
        {"rgb8.png", EncodeWithQt(DetailedImage(70, 40), "png"), 2024, {70, 40}},
        {"rgba8.png",
         EncodeWithQt(Translucent(64, 30, QImage::Format_ARGB32), "png"),
         1850,
         {64, 30}},
        {"rgb16.png",
         EncodeWithQt(DetailedImage(33, 47).convertToFormat(QImage::Format_RGBX64), "png"),
         1851,
         {33, 47}},
        {"rgba16.png",
         EncodeWithQt(Translucent(45, 20, QImage::Format_RGBA64), "png"),
         2200,
         {45, 20}},
        {"photo.bmp", EncodeWithQt(DetailedImage(50, 31), "bmp"), 1800, {50, 31}},
    };
    for (std::size_t i = 0; i < std::size(photos); i += 2) {
        const Photo& first = photos[i];
        const Photo& second = photos[i + 1];
        SCOPED_TRACE(first.name);
        const PhotoRequest requests[] = {{Path(first.name), first.year},
                                         {Path(second.name), second.year}};
        ASSERT_TRUE(testing::WriteBytes(requests[0].path, first.bytes));
        ASSERT_TRUE(testing::WriteBytes(requests[1].path, second.bytes));
        const auto prepared = PrepareUserPhotos(requests, UINT64_MAX);
        const auto* frames = std::get_if<std::vector<Frame>>(&prepared);
        ASSERT_NE(frames, nullptr);

        const QString target = Path(QString("%1.qmp").arg(i));
        EXPECT_EQ(WritePairFile(target, (*frames)[0], (*frames)[1]), std::nullopt);
        Bytes expected =
            testing::PairHeaderBytes({.firstYear = std::uint32_t(first.year),
                                      .secondYear = std::uint32_t(second.year),
                                      .firstSize = std::uint32_t(first.bytes.size()),
                                      .secondSize = std::uint32_t(second.bytes.size())});
        expected.insert(expected.end(), first.bytes.begin(), first.bytes.end());
        expected.insert(expected.end(), second.bytes.begin(), second.bytes.end());
        EXPECT_EQ(testing::ReadBytes(target), expected);

        const QString paths[] = {target};
        const std::optional<Sheet> sheet = ImportPairFiles(paths);
        ASSERT_TRUE(sheet.has_value());
        const bool firstIsOlder = first.year < second.year;
        const Photo& older = firstIsOlder ? first : second;
        const Photo& newer = firstIsOlder ? second : first;
        EXPECT_EQ(sheet->frames[0].year, older.year);
        EXPECT_EQ(sheet->frames[0].preview->Size(), older.upright);
        EXPECT_EQ(sheet->frames[1].year, newer.year);
        EXPECT_EQ(sheet->frames[1].preview->Size(), newer.upright);
    }
}

TEST_F(PairWriterTest, RefusesWhatTheReaderWouldAndNeverReplacesAFile) {
    const Frame a = FrameOf(2000, testing::FlatGreyJpeg(8, 8));
    const Frame b = FrameOf(2001, testing::FlatGreyJpeg(8, 8));
    const QString taken = Path("taken.qmp");
    ASSERT_TRUE(testing::WriteBytes(taken, {1, 2, 3}));
    QDir(dir_.path()).mkdir("folder.qmp");
    struct Case {
        QString target;
        Frame first;
        Frame second;
        PairWriteFault fault;
    };
    const Case cases[] = {
        {Path("same.qmp"), a, FrameOf(2000, testing::FlatGreyJpeg(4, 4)),
         PairWriteFault::EqualYears},
        {Path("old.qmp"), FrameOf(1799, testing::FlatGreyJpeg(4, 4)), b,
         PairWriteFault::ReaderRefuses},
        {Path("empty.qmp"), a, FrameOf(2001, {}), PairWriteFault::ReaderRefuses},
        {Path("pair.txt"), a, b, PairWriteFault::NotPairName},
        {Path("pair.qmp.bak"), a, b, PairWriteFault::NotPairName},
        {taken, a, b, PairWriteFault::TargetTaken},
        {Path("folder.qmp"), a, b, PairWriteFault::TargetTaken},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target.toStdString());
        EXPECT_EQ(WritePairFile(c.target, c.first, c.second), c.fault);
    }
    EXPECT_EQ(testing::ReadBytes(taken), (Bytes{1, 2, 3}));
    EXPECT_EQ(Entries(), (QStringList{"folder.qmp", "taken.qmp"}));
    EXPECT_EQ(WritePairFile(Path("UPPER.QMP"), a, b), std::nullopt);
}

TEST_F(PairWriterTest, AWriteThatFailsPartWayLeavesNothingBehind) {
    const Frame a = FrameOf(2000, testing::JpegOf(testing::DetailedImage(64, 64)));
    const Frame b = FrameOf(2001, testing::FlatGreyJpeg(8, 8));
    testing::FaultyFiles files;
    int writes = 0;
    files.write = [&](int fd, std::span<const std::uint8_t> bytes) -> std::int64_t {
        return ++writes == 1 ? files.real.Write(fd, bytes.first(bytes.size() / 2)) : -ENOSPC;
    };
    EXPECT_EQ(WritePairFile(Path("pair.qmp"), a, b, files), PairWriteFault::WriteFailed);
    EXPECT_EQ(writes, 2);
    EXPECT_TRUE(Entries().isEmpty()) << Entries().join(", ").toStdString();
}

}  // namespace
}  // namespace mirvane
