#include "localization/time_picture.h"

#include <gtest/gtest.h>

#include "localization/strftime_picture.h"

namespace mirvane {
namespace {

const DayPeriodDesignators kAmPm{QStringLiteral("AM"), QStringLiteral("PM")};

QString Format(QStringView picture, TimeOfDay time) {
    return FormatTimePicture(picture, time, kAmPm).value_or(QStringLiteral("<failed>"));
}

TEST(FormatTimePicture, PatternsAndTheTwelveHourClock) {
    const TimeOfDay morning{9, 5, 3};
    EXPECT_EQ(Format(u"H:mm:ss", morning), u"9:05:03");
    EXPECT_EQ(Format(u"HH:mm", morning), u"09:05");
    EXPECT_EQ(Format(u"h:m:s t", morning), u"9:5:3 A");
    EXPECT_EQ(Format(u"HHHH.mmm", morning), u"09.05");  // longer runs count as two
    EXPECT_EQ(Format(u"hh:mm tt", {0, 7, 0}), u"12:07 AM");
    EXPECT_EQ(Format(u"h:mm tt", {11, 59, 0}), u"11:59 AM");
    EXPECT_EQ(Format(u"h:mm tt", {12, 0, 0}), u"12:00 PM");
    EXPECT_EQ(Format(u"h:mm tt", {23, 0, 0}), u"11:00 PM");
}

TEST(FormatTimePicture, QuotedTextIsLiteral) {
    const TimeOfDay time{9, 5, 3};
    EXPECT_EQ(Format(u"HH'h'mm", time), u"09h05");
    EXPECT_EQ(Format(u"H 'o''clock'", time), u"9 o'clock");
    EXPECT_EQ(Format(u"HH''mm", time), u"09'05");
    EXPECT_EQ(Format(u"HH x mm", time), u"09 x 05");  // non-pattern letters stand for themselves
}

TEST(FormatTimePicture, UnusablePicturesAndTimesFail) {
    EXPECT_FALSE(FormatTimePicture(u"HH 'h", {9, 5, 3}, kAmPm));
    for (const TimeOfDay bad :
         {TimeOfDay{24, 0, 0}, TimeOfDay{-1, 0, 0}, TimeOfDay{9, 60, 0}, TimeOfDay{9, 0, 61}}) {
        EXPECT_FALSE(FormatTimePicture(u"HH:mm:ss", bad, kAmPm));
    }
    EXPECT_EQ(Format(u"HH:mm:ss", {23, 59, 60}), u"23:59:60");  // a leap second is a real time

    const QString longest(kMaxFormattedTimeLength, u'.');
    EXPECT_TRUE(FormatTimePicture(longest, {9, 5, 3}, kAmPm));
    EXPECT_FALSE(FormatTimePicture(longest + u'.', {9, 5, 3}, kAmPm));
}

TEST(ShowsTwentyFourHourClock, LooksAtUnquotedHoursOnly) {
    EXPECT_TRUE(ShowsTwentyFourHourClock(u"H:mm:ss"));
    EXPECT_FALSE(ShowsTwentyFourHourClock(u"h:mm tt"));
    EXPECT_FALSE(ShowsTwentyFourHourClock(u"'H' hh"));
}

TEST(PictureFromStrftime, TranslatesTheTimeConversions) {
    const std::pair<QStringView, QStringView> cases[] = {
        {u"%H:%M:%S", u"HH:mm:ss"},
        {u"%T", u"HH:mm:ss"},
        {u"%R", u"HH:mm"},
        {u"%r", u"hh:mm:ss tt"},
        {u"%k:%M:%S", u"H:mm:ss"},
        {u"%l:%M:%S %p", u"h:mm:ss tt"},
        {u"%I.%M.%S %P", u"hh.mm.ss tt"},
        {u"%OH:%OM:%OS", u"HH:mm:ss"},
        {u"%-H:%M", u"H:mm"},
        {u"%H%%", u"HH%"},
    };
    for (const auto& [format, picture] : cases) {
        EXPECT_EQ(PictureFromStrftime(format), picture) << format.toString().toStdString();
    }
}

TEST(PictureFromStrftime, QuotesLettersAndDropsWhatAClockCannotShow) {
    EXPECT_EQ(PictureFromStrftime(u"%H時%M分%S秒"), u"HH'時'mm'分'ss'秒'");
    EXPECT_EQ(PictureFromStrftime(u"kl. %H.%M %z"), u"'kl. 'HH.mm");
    EXPECT_EQ(PictureFromStrftime(u"%Z %I:%M:%S %p"), u"hh:mm:ss tt");
    EXPECT_EQ(PictureFromStrftime(u"%I:%M:%S %p %Z"), u"hh:mm:ss tt");
    EXPECT_EQ(PictureFromStrftime(u"%H:%M%"), u"HH:mm");

    // The translation reads back through the formatter as the C library would print it.
    EXPECT_EQ(Format(PictureFromStrftime(u"%H時%M分%S秒"), {9, 5, 3}), u"09時05分03秒");
    EXPECT_EQ(Format(PictureFromStrftime(u"%H o'clock"), {9, 5, 3}), u"09 o'clock");
}

}  // namespace
}  // namespace mirvane
