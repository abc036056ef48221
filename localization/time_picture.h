// Time pictures: the pattern language in which the clock's time format is written.
//
//   h, hh   hour on the 12-hour clock, without and with a leading zero
//   H, HH   hour on the 24-hour clock
//   m, mm   minute
//   s, ss   second
//   t, tt   first character of the AM/PM designator, or all of it
//
// A pattern letter repeated more than twice counts as twice. Text between single quotes is
// literal, and two single quotes stand for one quote, inside or outside a quoted run. Every other
// character stands for itself.
#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace mirvane {

struct TimeOfDay {
    int hour = 0;    // 0..23
    int minute = 0;  // 0..59
    int second = 0;  // 0..60, a leap second being 60
};

struct DayPeriodDesignators {
    QString am;
    QString pm;
};

// The longest formatted time, in UTF-16 code units, that a picture may produce.
inline constexpr qsizetype kMaxFormattedTimeLength = 127;

// The time formatted after the picture. Nothing when a quote is left open, the time is out of
// range, or the result would be longer than kMaxFormattedTimeLength.
std::optional<QString> FormatTimePicture(QStringView picture, TimeOfDay time,
                                         const DayPeriodDesignators& designators);

// True when the picture shows the hour on the 24-hour clock (an H outside quotes).
bool ShowsTwentyFourHourClock(QStringView picture);

}  // namespace mirvane
