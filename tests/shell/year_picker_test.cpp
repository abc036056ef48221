#include "shell/year_picker.h"

#include "archive/catalog.h"
#include "localization/status_line.h"
#include "main_window_fixture.h"

namespace mirvane::shell::testing {
namespace {

using Ticks = std::array<int, 4>;

TEST(InitialTickPositions, FirstThirdsAndLast) {
    EXPECT_EQ(InitialTickPositions(19), (Ticks{0, 6, 12, 18}));  // Aral Sea
    EXPECT_EQ(InitialTickPositions(29), (Ticks{0, 9, 19, 28}));  // Columbia Glacier
    EXPECT_EQ(InitialTickPositions(23), (Ticks{0, 7, 15, 22}));  // Lake Powell
    // Short lists tick the same line more than once and never past their end.
    EXPECT_EQ(InitialTickPositions(1), (Ticks{0, 0, 0, 0}));
    EXPECT_EQ(InitialTickPositions(2), (Ticks{0, 0, 1, 1}));
    EXPECT_EQ(InitialTickPositions(4), (Ticks{0, 1, 2, 3}));
}

const QString kReady = QStringLiteral("Ready. Your contact sheet is fully offline.");
const QString kSelectYears =
    QStringLiteral("Select between 2 and 6 years, then compose the sheet.");

using YearPickerTest = MainWindowTest;

TEST_F(YearPickerTest, StartsWithTheFirstPlacesSheetAndTheReadyStatus) {
    EXPECT_EQ(currentSheet.title, "Aral Sea");
    EXPECT_TRUE(currentSheet.fromArchive);
    EXPECT_EQ(SheetYears(), (std::vector<int>{2000, 2006, 2012, 2018}));
    EXPECT_EQ(statusText, kReady);
    EXPECT_FALSE(statusIsError);

    ASSERT_EQ(Years()->topLevelItemCount(), 19);
    ASSERT_EQ(yearListRows.size(), 19u);
    for (int i = 0; i < 19; ++i) {
        EXPECT_EQ(Years()->topLevelItem(i)->text(0).toInt(), archiveCatalog[yearListRows[i]].year);
    }
    EXPECT_EQ(TickedYears(), (std::vector<int>{2000, 2006, 2012, 2018}));
}

TEST_F(YearPickerTest, ComposesTwoToSixTickedYearsInYearOrder) {
    TickOnly({2017, 2001});
    Click(102);
    EXPECT_EQ(SheetYears(), (std::vector<int>{2001, 2017}));
    EXPECT_EQ(statusText, kReady);
    EXPECT_FALSE(statusIsError);

    TickOnly({2000, 2003, 2006, 2009, 2012, 2018});
    Click(102);
    EXPECT_EQ(SheetYears(), (std::vector<int>{2000, 2003, 2006, 2009, 2012, 2018}));
    EXPECT_EQ(currentSheet.title, "Aral Sea");
    EXPECT_FALSE(statusIsError);
}

TEST_F(YearPickerTest, RefusesOtherTickCountsAndKeepsSheetAndTicks) {
    const auto firstPhoto = currentSheet.frames.front().encodedBytes;
    for (const std::multiset<int>& ticks :
         std::vector<std::multiset<int>>{{}, {2005}, {2000, 2001, 2002, 2003, 2004, 2005, 2006}}) {
        TickOnly(ticks);
        Click(102);
        EXPECT_EQ(statusText, kSelectYears) << ticks.size() << " ticks";
        EXPECT_TRUE(statusIsError);
        EXPECT_EQ(SheetYears(), (std::vector<int>{2000, 2006, 2012, 2018}));
        EXPECT_EQ(currentSheet.frames.front().encodedBytes, firstPhoto) << "the very same sheet";
        EXPECT_EQ(TickedYears(), std::vector<int>(ticks.begin(), ticks.end()));
    }
    // Corrected ticks compose again.
    TickOnly({2004, 2008});
    Click(102);
    EXPECT_EQ(SheetYears(), (std::vector<int>{2004, 2008}));
    EXPECT_FALSE(statusIsError);
}

TEST_F(YearPickerTest, ALocationChangeRefillsTheListWithoutRecomposing) {
    Selector(100)->setCurrentIndex(1);
    const std::vector<int> listed = ListedYears();
    ASSERT_EQ(listed.size(), 29u);
    EXPECT_EQ(listed.front(), 1986);
    EXPECT_EQ(listed.back(), 2024);
    EXPECT_TRUE(std::is_sorted(listed.begin(), listed.end()));
    EXPECT_EQ(TickedYears(), (std::vector<int>{1986, 2002, 2014, 2024}));
    ASSERT_EQ(yearListRows.size(), 29u);
    for (std::size_t i = 0; i < yearListRows.size(); ++i) {
        EXPECT_EQ(std::u16string_view(archiveCatalog[yearListRows[i]].location),
                  u"Columbia Glacier");
        EXPECT_EQ(archiveCatalog[yearListRows[i]].year, listed[i]);
    }
    // The preview keeps the old place until Compose.
    EXPECT_EQ(currentSheet.title, "Aral Sea");
    EXPECT_EQ(statusText, kReady);

    Click(102);
    EXPECT_EQ(currentSheet.title, "Columbia Glacier");
    EXPECT_EQ(SheetYears(), (std::vector<int>{1986, 2002, 2014, 2024}));
}

TEST_F(YearPickerTest, EveryFillForgetsTheUsersTicks) {
    TickOnly({2001, 2002, 2003});
    Selector(100)->setCurrentIndex(2);
    EXPECT_EQ(TickedYears(), (std::vector<int>{1999, 2006, 2014, 2021}));
    Selector(100)->setCurrentIndex(0);
    EXPECT_EQ(ListedYears().size(), 19u);
    EXPECT_EQ(TickedYears(), (std::vector<int>{2000, 2006, 2012, 2018}));

    // A selector showing nothing lists the first place.
    Selector(100)->setCurrentIndex(2);
    Selector(100)->setCurrentIndex(-1);
    EXPECT_EQ(ListedYears().size(), 19u);
    EXPECT_EQ(TickedYears(), (std::vector<int>{2000, 2006, 2012, 2018}));
}

}  // namespace
}  // namespace mirvane::shell::testing
