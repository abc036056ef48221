#include "archive/archive_photo.h"

#include <gtest/gtest.h>

namespace mirvane {
namespace {

// One resource of the given size under the id of row 0; every other id is missing.
ResourceLookup OneResourceOf(const std::vector<std::uint8_t>& bytes) {
    return [&bytes](std::uint16_t id) -> std::optional<platform::ByteView> {
        if (id != 1000) {
            return std::nullopt;
        }
        return platform::ByteView(bytes);
    };
}

TEST(LoadArchivePhoto, CopiesResourcesUpToFortyMebibytes) {
    std::vector<std::uint8_t> bytes(kMaxPhotoBytes + 1, 0x5a);
    const ArchiveEntry& row = archiveCatalog[0];

    EXPECT_TRUE(LoadArchivePhoto(row, OneResourceOf(bytes)).empty()) << "one byte too many";

    bytes.pop_back();
    const Bytes copy = LoadArchivePhoto(row, OneResourceOf(bytes));
    EXPECT_EQ(copy.size(), kMaxPhotoBytes);
    EXPECT_EQ(copy, bytes);

    bytes.clear();
    EXPECT_TRUE(LoadArchivePhoto(row, OneResourceOf(bytes)).empty());
}

TEST(LoadArchivePhoto, MissingResourceYieldsEmptyBuffer) {
    const std::vector<std::uint8_t> bytes(16, 1);
    EXPECT_TRUE(LoadArchivePhoto(archiveCatalog[1], OneResourceOf(bytes)).empty());
    const ArchiveEntry unknown{1071, archiveLocations[0], 2000, nullptr, nullptr};
    EXPECT_TRUE(LoadArchivePhoto(unknown).empty());
}

TEST(LoadArchivePhoto, NamesResourcesByTheLowSixteenBitsOfTheirId) {
    const std::vector<std::uint8_t> bytes(16, 1);
    const ArchiveEntry wide{0x10000u + 1000u, archiveLocations[0], 2000, nullptr, nullptr};
    EXPECT_EQ(LoadArchivePhoto(wide, OneResourceOf(bytes)).size(), 16u);
}

}  // namespace
}  // namespace mirvane
