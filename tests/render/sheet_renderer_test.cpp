#include "render/sheet_renderer.h"

#include <gtest/gtest.h>

#include "localization/ui_text.h"
#include "pixel_probes.h"
#include "render/palette.h"
#include "sheet_test_sheets.h"

namespace mirvane {
namespace {

using testing::AllOf;
using testing::BoundsOf;
using testing::Exactly;
using testing::FlatImage;
using testing::FrameOf;
using testing::Render;

constexpr QRgb kCard = 0xffffffff;
constexpr QRgb kWell = 0xffe8e2e0;
constexpr QRgb kRule = 0xffc8b8ba;
constexpr QRgb kRed = 0xffd02020;
constexpr QRgb kGreen = 0xff20a040;

bool Near(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) <= 6 && std::abs(qGreen(a) - qGreen(b)) <= 6 &&
           std::abs(qBlue(a) - qBlue(b)) <= 6;
}

// At width 3000 in two columns: s = 3, margin 135, gap 54, cells 1338 x 1097.16 from y 450,
// wells inset by 30 pixels, 1278 x 950.16.
Sheet PortraitAndWide() {
    return Sheet{
        QStringLiteral("Aral Sea"),
        {FrameOf(FlatImage(600, 900, kRed), 2000), FrameOf(FlatImage(1800, 300, kGreen), 2018)},
        true};
}

TEST(RenderSheet, PlacesPaperCardsWellsPhotosRuleAndTexts) {
    const testing::Rendered sheet = Render(PortraitAndWide(), 3000, 2, false);
    ASSERT_TRUE(sheet.ok);
    const QImage& i = sheet.image;
    EXPECT_TRUE(AllOf(i, QRect(0, 0, 3000, 60), palette::kPaper));
    EXPECT_TRUE(AllOf(i, QRect(1475, 452, 50, 1090), palette::kPaper));  // between the cards
    EXPECT_TRUE(AllOf(i, QRect(136, 451, 1336, 28), kCard));
    EXPECT_TRUE(AllOf(i, QRect(1528, 451, 1336, 28), kCard));
    // The rule, 3 pixels wide around y = 1817 - 156: two whole rows, from margin to margin.
    EXPECT_TRUE(AllOf(i, QRect(135, 1660, 2730, 2), kRule));
    EXPECT_EQ(i.pixel(134, 1660), palette::kPaper);

    // Portrait, 633.4 wide, centred in the well from x 165 to 1443; wide, 213 high from 848.6.
    EXPECT_EQ(i.pixel(484, 900), kWell);
    EXPECT_TRUE(Near(i.pixel(492, 482), kRed));
    EXPECT_TRUE(Near(i.pixel(1116, 1428), kRed));
    EXPECT_EQ(i.pixel(1124, 900), kWell);
    EXPECT_EQ(i.pixel(2000, 845), kWell);
    EXPECT_TRUE(Near(i.pixel(1559, 852), kGreen));
    EXPECT_TRUE(Near(i.pixel(2832, 1058), kGreen));
    EXPECT_EQ(i.pixel(2000, 1065), kWell);

    // Each text in its colour, inside its rectangle.
    const auto inks = [&](QRect area, QRgb colour) { return BoundsOf(i, area, Exactly(colour)); };
    const QRect title = inks(QRect(0, 0, 3000, 230), palette::kInk);
    EXPECT_TRUE(QRect(135, 78, 2550, 144).contains(title));
    EXPECT_GT(title.height(), 60);
    EXPECT_TRUE(QRect(135, 237, 2550, 72).contains(inks(QRect(0, 230, 3000, 80), palette::kMuted)));
    EXPECT_TRUE(QRect(135, 315, 2550, 78).contains(inks(QRect(0, 310, 3000, 140), palette::kBody)));
    EXPECT_TRUE(
        QRect(165, 1451, 1173, 82).contains(inks(QRect(135, 1440, 1338, 107), palette::kInk)));
    const QRect number = inks(QRect(135, 1440, 1338, 107), palette::kAccent);
    EXPECT_TRUE(QRect(1374, 1466, 90, 64).contains(number));
    EXPECT_GT(number.height(), 15);
    EXPECT_TRUE(
        QRect(135, 1685, 2400, 81).contains(inks(QRect(0, 1670, 2500, 147), palette::kMuted)));
    EXPECT_TRUE(
        QRect(2565, 1685, 300, 81).contains(inks(QRect(2500, 1670, 500, 147), palette::kInk)));

    // In three columns, the third cell of the only row stays paper.
    const QImage three = Render(PortraitAndWide(), 3000, 3, false).image;
    EXPECT_TRUE(AllOf(three, QRect(1991, 450, 874, 717), palette::kPaper));
}

TEST(RenderSheet, EndsALongTitleInAnEllipsisOnOneLine) {
    Sheet sheet = PortraitAndWide();
    sheet.title = QStringLiteral(
        "A very long title for a place whose name will certainly not fit into the title band");
    const QImage i = Render(sheet, 3000, 2, false).image;
    const QRect title = BoundsOf(i, QRect(0, 0, 3000, 450), Exactly(palette::kInk));
    EXPECT_TRUE(QRect(135, 78, 2550, 144).contains(title));
    EXPECT_GT(title.right(), 2685 - 120);  // up to the end of the box, on one line
    EXPECT_LT(title.height(), 110);
    // The last ink: three small dots on the baseline.
    const auto inked = [](QRgb p) { return p != palette::kPaper; };
    int x = title.right();
    for (int dot = 0; dot < 3; ++dot) {
        const QRect found = BoundsOf(i, QRect(x - 24, title.top(), 25, title.height()), inked);
        ASSERT_FALSE(found.isEmpty()) << dot;
        const QRect whole = BoundsOf(i, QRect(found.right() - 24, title.top(), 25, 144), inked);
        EXPECT_LT(whole.height(), 24) << dot;
        EXPECT_GT(whole.top(), title.bottom() - 40) << dot;
        x = whole.left() - 2;
    }
}

TEST(RenderSheet, TakesTheHeadingAndPairCreditInTheLanguageGiven) {
    const auto band = [](const QImage& image, int top, int height) {
        return image.copy(0, top, image.width(), height);
    };
    const QImage en = Render(PortraitAndWide(), 3000, 2, false, UiLanguage::English).image;
    const QImage de = Render(PortraitAndWide(), 3000, 2, false, UiLanguage::German).image;
    EXPECT_EQ(band(en, 0, 230), band(de, 0, 230));        // the sheet's own title
    EXPECT_NE(band(en, 230, 80), band(de, 230, 80));      // the heading is localized
    EXPECT_EQ(band(en, 1670, 147), band(de, 1670, 147));  // the NASA credit is not

    Sheet pairs = PortraitAndWide();
    pairs.fromArchive = false;
    pairs.title = UiTextIn(TextId::SavedMomentsTitle, UiLanguage::French);
    const QImage pairEn = Render(pairs, 3000, 2, false, UiLanguage::English).image;
    const QImage pairEs = Render(pairs, 3000, 2, false, UiLanguage::Spanish).image;
    EXPECT_EQ(band(pairEn, 0, 230), band(pairEs, 0, 230));  // the title of the import stays
    EXPECT_NE(band(pairEn, 1670, 147), band(pairEs, 1670, 147));
    EXPECT_NE(band(pairEn, 1670, 147), band(en, 1670, 147));

    // A credit line of the sheet's own stands in every language instead of the pair credit.
    pairs.credit = QStringLiteral("Photographs: the Lindqvist family");
    const QImage ownEn = Render(pairs, 3000, 2, false, UiLanguage::English).image;
    const QImage ownEs = Render(pairs, 3000, 2, false, UiLanguage::Spanish).image;
    EXPECT_EQ(band(ownEn, 1670, 147), band(ownEs, 1670, 147));
    EXPECT_NE(band(ownEn, 1670, 147), band(pairEn, 1670, 147));
}

TEST(RenderSheet, FullResolutionDrawsWhatThePreviewDrawsAndStopsAtABadPhotograph) {
    // Photographs no larger than a preview: the preview holds the very pixels a full decode
    // gives, so both modes must agree to the pixel, whatever order the export draws in.
    Sheet sheet{
        QStringLiteral("Lake Powell"),
        {FrameOf(testing::DetailedImage(700, 500), 1999),
         FrameOf(FlatImage(500, 700, kGreen), 2005),
         FrameOf(testing::DetailedImage(760, 300), 2013), FrameOf(FlatImage(600, 600, kRed), 2021)},
        true};
    const testing::Rendered full = Render(sheet, 3000, 3, true);
    ASSERT_TRUE(full.ok);
    EXPECT_EQ(full.image, Render(sheet, 3000, 3, false).image);

    Bytes cut(*sheet.frames[1].encodedBytes);
    cut.resize(cut.size() / 2);
    sheet.frames[1].encodedBytes = std::make_shared<const Bytes>(std::move(cut));
    const testing::Rendered failed = Render(sheet, 3000, 3, true);
    EXPECT_FALSE(failed.ok);
    const QImage& i = failed.image;
    EXPECT_TRUE(AllOf(i, QRect(1093, 480, 784, 569), kWell));           // its well stays empty
    EXPECT_TRUE(AllOf(i, QRect(1093, 1050, 784, 100), kCard));          // and without captions
    EXPECT_TRUE(AllOf(i, QRect(135, 2048, 2730, 4), palette::kPaper));  // no rule

    // A sheet without frames, or with more than the grid holds, draws nothing.
    sheet.frames.push_back(sheet.frames[0]);
    imaging::Bitmap target;
    ASSERT_EQ(imaging::CreateBitmap(3000, 1436, imaging::PixelFormat::Pargb32, &target),
              imaging::Status::Ok);
    imaging::Graphics graphics(target);
    EXPECT_FALSE(
        RenderSheet(graphics, sheet, ComputeSheetGeometry(3000, 3, 3), true, UiLanguage::English));
    EXPECT_FALSE(RenderSheet(graphics, Sheet{}, ComputeSheetGeometry(3000, 3, 3), false,
                             UiLanguage::English));
    EXPECT_TRUE(AllOf(target.Image(), target.Image().rect(), 0));
}

}  // namespace
}  // namespace mirvane
