#include "localization/accessible_text.h"

#include <gtest/gtest.h>

#include <vector>

namespace mirvane {
namespace {

Sheet SheetOf(const QString& title, const std::vector<int>& years) {
    Sheet sheet;
    sheet.title = title;
    for (const int year : years) {
        Frame frame;
        frame.year = year;
        sheet.frames.push_back(frame);
    }
    return sheet;
}

TEST(AccessibleTextTest, PreviewNamesTheTitleAndTheYearsInTheSheetsOrder) {
    struct Case {
        Sheet sheet;
        UiLanguage language;
        QString name;
    };
    const std::vector<Case> cases = {
        {SheetOf(QStringLiteral("Aral Sea"), {2000, 2006, 2012, 2018}), UiLanguage::English,
         QStringLiteral("Sheet preview: Aral Sea, 2000, 2006, 2012, 2018")},
        {SheetOf(QStringLiteral("Lake Powell"), {1999, 2021}), UiLanguage::German,
         QStringLiteral("Blattvorschau: Lake Powell, 1999, 2021")},
        // The well stays empty below two frames, and so does the name's detail.
        {SheetOf(QStringLiteral("Lake Powell"), {1999}), UiLanguage::English,
         QStringLiteral("Sheet preview")},
        {Sheet{}, UiLanguage::French, QStringLiteral("Aperçu de la planche")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PreviewAccessibleName(c.sheet, c.language), c.name);
    }
}

TEST(AccessibleTextTest, ErrorMarkIsInEveryLanguage) {
    EXPECT_EQ(ErrorStatusDescription(UiLanguage::English), QStringLiteral("Error"));
    EXPECT_EQ(ErrorStatusDescription(UiLanguage::German), QStringLiteral("Fehler"));
    EXPECT_EQ(ErrorStatusDescription(static_cast<UiLanguage>(9)), QStringLiteral("Error"));
}

}  // namespace
}  // namespace mirvane
