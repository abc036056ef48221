#include "archive/catalog.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <set>

#include "archive/archive_photo.h"
#include "archive/image_data.h"
#include "sheet/parallel_frames.h"

namespace mirvane {
namespace {

std::vector<int> YearsOf(const std::vector<int>& rows) {
    std::vector<int> years;
    for (int row : rows) {
        years.push_back(archiveCatalog[static_cast<std::size_t>(row)].year);
    }
    return years;
}

TEST(ArchiveCatalog, RowsAreNumberedGroupedAndAscending) {
    for (std::size_t row = 0; row < archiveCatalog.size(); ++row) {
        const ArchiveEntry& entry = archiveCatalog[row];
        EXPECT_EQ(entry.resourceId, 1000 + row);
        EXPECT_EQ(std::string_view(entry.sha256Hex).size(), 64u);
        if (row > 0 && std::u16string_view(entry.location) ==
                           std::u16string_view(archiveCatalog[row - 1].location)) {
            EXPECT_GT(entry.year, archiveCatalog[row - 1].year) << "row " << row;
        }
    }
    EXPECT_EQ(std::u16string_view(archiveLocations[0]), u"Aral Sea");
    EXPECT_EQ(std::u16string_view(archiveLocations[1]), u"Columbia Glacier");
    EXPECT_EQ(std::u16string_view(archiveLocations[2]), u"Lake Powell");
}

TEST(ArchiveCatalog, LocationFiltersCoverEveryRowOnce) {
    const std::vector<int> aral = ArchiveRowsOf(u"Aral Sea");
    const std::vector<int> columbia = ArchiveRowsOf(u"Columbia Glacier");
    const std::vector<int> powell = ArchiveRowsOf(u"Lake Powell");
    EXPECT_EQ(aral.size(), 19u);
    EXPECT_EQ(powell.size(), 23u);
    ASSERT_EQ(columbia.size(), 29u);
    EXPECT_EQ(columbia.front(), 19);
    EXPECT_EQ(columbia.back(), 47);
    const std::vector<int> expected = {1986, 1987, 1989, 1995, 1996, 1997, 1999, 2000, 2001, 2002,
                                       2003, 2004, 2005, 2006, 2008, 2009, 2010, 2011, 2013, 2014,
                                       2015, 2016, 2017, 2018, 2019, 2020, 2021, 2022, 2024};
    EXPECT_EQ(YearsOf(columbia), expected);
    EXPECT_EQ(YearsOf(aral).front(), 2000);
    EXPECT_EQ(YearsOf(powell).back(), 2021);

    std::set<int> all(aral.begin(), aral.end());
    all.insert(columbia.begin(), columbia.end());
    all.insert(powell.begin(), powell.end());
    EXPECT_EQ(all.size(), archiveCatalog.size());

    EXPECT_TRUE(ArchiveRowsOf(u"aral sea").empty());
    EXPECT_TRUE(ArchiveRowsOf(u"Lake Powell ").empty());
}

// The build's photographs: every row has one, within the caps, matching its recorded digest,
// and each makes a frame.
TEST(ArchivePhotographs, EveryRowLoadsDecodesAndMatchesItsDigest) {
    std::vector<PendingFrame> pending;
    std::size_t total = 0;
    for (const ArchiveEntry& entry : archiveCatalog) {
        const auto resource = platform::FindEmbeddedResource(std::uint16_t(entry.resourceId));
        ASSERT_TRUE(resource.has_value()) << entry.resourceId;
        Bytes bytes = LoadArchivePhoto(entry);
        ASSERT_EQ(bytes.size(), resource->size());
        EXPECT_LE(bytes.size(), kMaxPhotoBytes);
        total += bytes.size();
        const QByteArray digest =
            QCryptographicHash::hash(QByteArrayView(bytes.data(), qsizetype(bytes.size())),
                                     QCryptographicHash::Sha256)
                .toHex();
        EXPECT_EQ(digest.toStdString(), entry.sha256Hex) << entry.resourceId;
        pending.push_back(PendingFrame{std::move(bytes), entry.year});
    }
    EXPECT_GE(total, 100'000'000u);
    EXPECT_LE(total, 160'000'000u);
    const auto frames = PrepareFrames(std::move(pending));
    ASSERT_TRUE(frames.has_value());
    EXPECT_EQ(frames->size(), archiveCatalog.size());
}

}  // namespace
}  // namespace mirvane
