#include "sheet/compose.h"

#include <gtest/gtest.h>

#include <map>

#include "archive/photo_limits.h"
#include "support/test_images.h"

namespace mirvane {
namespace {

// Small stand-ins for the embedded photographs, so composition is tested quickly and with
// sizes of our choosing; ids without an entry are missing.
class FakeResources {
  public:
    void Set(std::uint16_t id, Bytes bytes) { resources_[id] = std::move(bytes); }
    int Lookups() const { return lookups_; }
    ResourceLookup Lookup() {
        return [this](std::uint16_t id) -> std::optional<platform::ByteView> {
            ++lookups_;
            const auto found = resources_.find(id);
            if (found == resources_.end()) {
                return std::nullopt;
            }
            return platform::ByteView(found->second);
        };
    }

  private:
    std::map<std::uint16_t, Bytes> resources_;
    int lookups_ = 0;
};

std::vector<int> YearsOf(const Sheet& sheet) {
    std::vector<int> years;
    for (const Frame& frame : sheet.frames) {
        years.push_back(frame.year);
    }
    return years;
}

class ComposeFromArchiveTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (std::uint16_t id = 1000; id <= 1070; ++id) {
            resources_.Set(id, testing::FlatGreyJpeg(40, 30, std::uint8_t(id)));
        }
    }
    std::optional<Sheet> Compose(std::vector<int> rows) {
        return ComposeFromArchive(rows, resources_.Lookup());
    }
    FakeResources resources_;
};

TEST_F(ComposeFromArchiveTest, TwoToSixRowsOfOnePlaceInYearOrder) {
    const auto sheet = Compose({12, 0, 6});
    ASSERT_TRUE(sheet.has_value());
    EXPECT_EQ(sheet->title, "Aral Sea");
    EXPECT_TRUE(sheet->fromArchive);
    EXPECT_EQ(YearsOf(*sheet), (std::vector<int>{2000, 2006, 2012}));

    EXPECT_EQ(YearsOf(Compose({47, 19}).value()), (std::vector<int>{1986, 2024}));
    EXPECT_EQ(YearsOf(Compose({70, 60, 50, 55, 65, 48}).value()),
              (std::vector<int>{1999, 2001, 2006, 2011, 2016, 2021}));
    EXPECT_EQ(Compose({70, 60, 50, 55, 65, 48})->title, "Lake Powell");
}

TEST_F(ComposeFromArchiveTest, RefusesWrongCountsWithoutLoadingAnything) {
    EXPECT_FALSE(Compose({}).has_value());
    EXPECT_FALSE(Compose({3}).has_value());
    EXPECT_FALSE(Compose({0, 1, 2, 3, 4, 5, 6}).has_value());
    EXPECT_EQ(resources_.Lookups(), 0);
}

TEST_F(ComposeFromArchiveTest, RefusesBadRowsAndMixedPlaces) {
    EXPECT_FALSE(Compose({0, 71}).has_value());
    EXPECT_FALSE(Compose({0, -1}).has_value());
    EXPECT_FALSE(Compose({18, 19}).has_value()) << "Aral Sea then Columbia Glacier";
}

TEST_F(ComposeFromArchiveTest, DuplicateRowsBecomeFramesOfTheirOwn) {
    const auto sheet = Compose({5, 5, 2});
    ASSERT_TRUE(sheet.has_value());
    EXPECT_EQ(YearsOf(*sheet), (std::vector<int>{2002, 2005, 2005}));
    EXPECT_NE(sheet->frames[1].encodedBytes, sheet->frames[2].encodedBytes);
}

TEST_F(ComposeFromArchiveTest, MissingOrUndecodablePhotographFailsTheWhole) {
    resources_.Set(1003, Bytes(5000, 0x20));
    EXPECT_FALSE(Compose({0, 3}).has_value());
    FakeResources sparse;
    sparse.Set(1000, testing::FlatGreyJpeg(40, 30));
    EXPECT_FALSE(ComposeFromArchive(std::vector<int>{0, 1}, sparse.Lookup()).has_value());
}

TEST_F(ComposeFromArchiveTest, PhotoBytesAreCappedPerSheet) {
    const Bytes largest = testing::PaddedTo(testing::FlatGreyJpeg(40, 30), kMaxPhotoBytes);
    for (std::uint16_t id = 1000; id < 1005; ++id) {
        resources_.Set(id, largest);
    }
    const auto exactly = Compose({0, 1, 2, 3});  // 4 x 40 MiB = 160 MiB
    ASSERT_TRUE(exactly.has_value());
    EXPECT_EQ(exactly->frames.size(), 4u);

    resources_.Set(1005, testing::FlatGreyJpeg(40, 30));
    EXPECT_FALSE(Compose({0, 1, 2, 3, 5}).has_value()) << "a small fifth crosses the cap";
    EXPECT_FALSE(Compose({0, 1, 2, 3, 4}).has_value());
}

}  // namespace
}  // namespace mirvane
