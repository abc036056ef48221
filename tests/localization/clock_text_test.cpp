#include "localization/clock_text.h"

#include <gtest/gtest.h>

#include <climits>

namespace mirvane {
namespace {

ClockInputs Inputs(QString picture, TimeOfDay time, int bias = -60) {
    ClockInputs inputs;
    inputs.localTime = time;
    inputs.userPicture = std::move(picture);
    inputs.userClockIs24Hour = true;
    inputs.utcBiasMinutes = bias;
    return inputs;
}

TEST(UtcOffsetSuffix, WorkedValues) {
    EXPECT_EQ(UtcOffsetSuffix(-120), u"  UTC+02:00");
    EXPECT_EQ(UtcOffsetSuffix(300), u"  UTC-05:00");
    EXPECT_EQ(UtcOffsetSuffix(-330), u"  UTC+05:30");
    EXPECT_EQ(UtcOffsetSuffix(-345), u"  UTC+05:45");
    EXPECT_EQ(UtcOffsetSuffix(0), u"  UTC+00:00");
    EXPECT_EQ(UtcOffsetSuffix(30), u"  UTC-00:30");
    EXPECT_TRUE(UtcOffsetSuffix(INT_MIN).startsWith(u"  UTC+"));  // no overflow in the magnitude
}

TEST(ClockTextFrom, UsesTheUsersPictureInTheUiLanguage) {
    ClockInputs inputs = Inputs(QStringLiteral("H:mm:ss"), {9, 5, 3});
    inputs.language = UiLanguage::German;
    EXPECT_EQ(ClockTextFrom(inputs), u"9:05:03  UTC+01:00");

    EXPECT_EQ(ClockTextFrom(Inputs(QStringLiteral("HH:mm"), {9, 5, 3})), u"09:05  UTC+01:00");

    inputs = Inputs(QStringLiteral("h:mm:ss tt"), {21, 5, 3});
    inputs.language = UiLanguage::English;
    EXPECT_EQ(ClockTextFrom(inputs), u"9:05:03 PM  UTC+01:00");
}

TEST(ClockTextFrom, CyrillicPicturesGiveWayByTheIndicator) {
    ClockInputs inputs = Inputs(QStringLiteral("H 'ч' mm"), {14, 5, 9});
    EXPECT_EQ(ClockTextFrom(inputs), u"14:05:09  UTC+01:00");
    inputs.userClockIs24Hour = false;
    EXPECT_EQ(ClockTextFrom(inputs), u"2:05:09 PM  UTC+01:00");
}

TEST(ClockTextFrom, UnreadablePicturesFallBackToTwentyFourHours) {
    ClockInputs inputs = Inputs(QString(), {9, 5, 3});
    inputs.userClockIs24Hour = false;
    inputs.userPicture.reset();
    EXPECT_EQ(ClockTextFrom(inputs), u"09:05:03  UTC+01:00");
    inputs.userPicture = QString();
    EXPECT_EQ(ClockTextFrom(inputs), u"09:05:03  UTC+01:00");
    inputs.userPicture = QStringLiteral("HH:mm") + QString(91, u' ');  // over 95 characters
    EXPECT_EQ(ClockTextFrom(inputs), u"09:05:03  UTC+01:00");
}

TEST(ClockTextFrom, AnUnformattableTimeStillShowsTheOffset) {
    EXPECT_EQ(ClockTextFrom(Inputs(QStringLiteral("HH 'h"), {9, 5, 3})), u"--:--  UTC+01:00");
    ClockInputs inputs = Inputs(QStringLiteral("HH:mm"), {9, 5, 3}, 0);
    inputs.localTime.reset();
    EXPECT_EQ(ClockTextFrom(inputs), u"--:--  UTC+00:00");
}

}  // namespace
}  // namespace mirvane
