#include "pairs/user_photos.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "archive/photo_limits.h"
#include "support/exif_segments.h"
#include "support/pair_files.h"
#include "support/test_images.h"

namespace mirvane {
namespace {

// A JPEG whose EXIF DateTimeOriginal is `date`.
Bytes DatedJpeg(const std::string& date) {
    return testing::WithExif(testing::FlatGreyJpeg(24, 16),
                             testing::ExifBlock().AddText(0x9003, date, true).Tiff());
}

class UserPhotosTest : public ::testing::Test {
  protected:
    QString Write(const QString& name, const Bytes& bytes) {
        const QString path = dir_.filePath(name);
        EXPECT_TRUE(testing::WriteBytes(path, bytes));
        return path;
    }
    QTemporaryDir dir_;
};

TEST_F(UserPhotosTest, EveryRuleRefusesItsPhotographByNameAndNothingElse) {
    const QString good = Write("good.jpg", testing::FlatGreyJpeg(40, 30));
    const Bytes jpeg = testing::JpegOf(testing::DetailedImage(64, 48));
    const QString tooLarge = Write("large.jpg", jpeg);
    ASSERT_TRUE(QFile(tooLarge).resize(qint64(kMaxPhotoBytes) + 1));
    QDir(dir_.path()).mkdir("folder.jpg");
    struct Case {
        PhotoRequest photo;
        PhotoFault fault;
        std::int64_t year;
    };
    const Case cases[] = {
        {{dir_.filePath("missing.jpg"), 2000}, PhotoFault::Unreadable, 0},
        {{dir_.filePath("folder.jpg"), 2000}, PhotoFault::Unreadable, 0},
        {{Write("empty.jpg", {}), 2000}, PhotoFault::Empty, 0},
        {{tooLarge, 2000}, PhotoFault::TooLarge, 0},
        {{Write("tiny.gif", testing::TinyGif()), 2000}, PhotoFault::NotAnImage, 0},
        {{Write("tiny.tif", testing::TinyTiff()), 2000}, PhotoFault::NotAnImage, 0},
        {{Write("text.jpg", Bytes{'h', 'i', '\n'}), 2000}, PhotoFault::NotAnImage, 0},
        {{Write("wide.jpg", testing::FlatGreyJpeg(kMaxPhotoSide + 1, 1)), 2000},
         PhotoFault::OverPixelCaps,
         0},
        {{Write("cut.jpg", Bytes(jpeg.begin(), jpeg.end() - jpeg.size() / 3)), 2000},
         PhotoFault::Undecodable,
         2000},
        {{Write("bad-header.png", Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0}), 2000},
         PhotoFault::Undecodable,
         0},
        {{good, std::nullopt}, PhotoFault::NoYear, 0},
        {{Write("dated-1750.jpg", DatedJpeg("1750:05:01 10:00:00")), std::nullopt},
         PhotoFault::YearOutOfRange,
         1750},
        {{good, 1799}, PhotoFault::YearOutOfRange, 1799},
        {{good, 2201}, PhotoFault::YearOutOfRange, 2201},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.photo.path.toStdString());
        // The refused photograph comes second: the first one passing says the rule is its own.
        const PhotoRequest requests[] = {{good, 1990}, c.photo};
        const auto result = PrepareUserPhotos(requests, UINT64_MAX);
        const auto* refusal = std::get_if<PhotoRefusal>(&result);
        ASSERT_NE(refusal, nullptr);
        EXPECT_EQ(refusal->index, 1u);
        EXPECT_EQ(refusal->fault, c.fault);
        EXPECT_EQ(refusal->year, c.year);
    }
}

TEST_F(UserPhotosTest, FramesComeInTheOrderGivenWithTheirYearsAndBytes) {
    const Bytes wide = testing::FlatGreyJpeg(40, 30);
    const Bytes tall = testing::EncodeWithQt(testing::QuadrantImage(30, 40), "png");
    const Bytes dated = DatedJpeg("1994:07:01 12:00:00");
    const PhotoRequest requests[] = {{Write("wide.jpg", wide), 2200},
                                     {Write("tall.png", tall), 1800},
                                     {Write("dated.jpg", dated), std::nullopt},
                                     {Write("redated.jpg", dated), 2001}};
    const auto result = PrepareUserPhotos(requests, UINT64_MAX);
    const auto* frames = std::get_if<std::vector<Frame>>(&result);
    ASSERT_NE(frames, nullptr);
    ASSERT_EQ(frames->size(), 4u);
    EXPECT_EQ((*frames)[0].year, 2200);
    EXPECT_EQ((*frames)[1].year, 1800);
    EXPECT_EQ((*frames)[2].year, 1994) << "the EXIF date, when no year is given";
    EXPECT_EQ((*frames)[3].year, 2001) << "a year given wins over the EXIF date";
    EXPECT_EQ(*(*frames)[0].encodedBytes, wide);
    EXPECT_EQ(*(*frames)[1].encodedBytes, tall);
    EXPECT_EQ((*frames)[1].preview->Size(), QSize(30, 40));
}

// The budget is counted before any photograph is decoded: an undecodable photograph after the
// one that crosses it is never reached.
TEST_F(UserPhotosTest, TheByteBudgetStopsBeforeTheFirstDecode) {
    const Bytes jpeg = testing::JpegOf(testing::DetailedImage(64, 48));
    const PhotoRequest requests[] = {
        {Write("a.jpg", jpeg), 2000},
        {Write("cut.jpg", Bytes(jpeg.begin(), jpeg.end() - jpeg.size() / 3)), 2001},
        {Write("b.jpg", jpeg), 2002},
    };
    const auto exact = PrepareUserPhotos(std::span(requests).first(1), jpeg.size());
    EXPECT_TRUE(std::holds_alternative<std::vector<Frame>>(exact));
    const auto over = PrepareUserPhotos(requests, 2 * jpeg.size());
    const auto* refusal = std::get_if<PhotoRefusal>(&over);
    ASSERT_NE(refusal, nullptr);
    EXPECT_EQ(refusal->index, 2u);
    EXPECT_EQ(refusal->fault, PhotoFault::OverSheetBudget);
}

}  // namespace
}  // namespace mirvane
