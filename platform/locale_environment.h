// The user's locale environment and local clock, as the language choice and the clock text read
// them. Kept apart from the rules built on them so that those can be tested with fixed values.
#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace mirvane::platform {

// The first UI language of the user's locale environment (LANGUAGE, LC_ALL, LC_MESSAGES, LANG),
// such as "de-DE"; "C" for the C locale, empty when none is known.
QString FirstUiLanguageName();

// Tells the platform which UI language the process prefers. Linux has no such setting, so this
// does nothing; it keeps the step visible where the language is chosen.
void SetPreferredUiLanguage(QStringView localeName);

// The user's time format (T_FMT of the LC_TIME locale the environment names) in strftime
// syntax, such as "%H:%M:%S". Nothing when that locale is not installed or its text cannot be
// decoded. The process's own locale is left untouched.
std::optional<QString> UserStrftimeTimeFormat();

struct LocalClockReading {
    int hour = 0;
    int minute = 0;
    int second = 0;          // 60 during a leap second
    int utcBiasMinutes = 0;  // UTC = local time + bias, at the same moment
};

// The local time of day now and the offset of local time from UTC, both from one reading of
// the clock. The time zone is looked up again on each call. Nothing when the C library cannot
// convert the current time.
std::optional<LocalClockReading> ReadLocalClock();

}  // namespace mirvane::platform
