// The footer's clock: the local time in the user's time format, followed by the offset of the
// local time zone from UTC, as in "14:05:09  UTC+02:00".
#pragma once

#include <QString>
#include <optional>

#include "localization/time_picture.h"
#include "localization/ui_language.h"

namespace mirvane {

// Everything the clock text depends on, read afresh for every text.
struct ClockInputs {
    std::optional<TimeOfDay> localTime;  // nothing when the local time could not be read
    std::optional<QString> userPicture;  // nothing when the user's time format could not be read
    bool userClockIs24Hour = false;      // the user's 24-hour indicator
    UiLanguage language = UiLanguage::English;
    int utcBiasMinutes = 0;  // UTC = local time + bias
};

// The offset suffix: two spaces, "UTC", '+' for a bias of 0 or below and '-' above, then hours
// and minutes of the bias's magnitude with two digits each ("  UTC+05:30" for -330).
QString UtcOffsetSuffix(int utcBiasMinutes);

// The AM/PM designators of the language's locale (LocaleNameOf).
DayPeriodDesignators DesignatorsOf(UiLanguage language);

// The clock text from fixed inputs. The user's picture is used as it is unless it cannot be read
// (or is empty, or longer than 95 characters), which gives "HH:mm:ss", or it holds Cyrillic
// letters, which gives "HH:mm:ss" or "h:mm:ss tt" by the 24-hour indicator. A time that
// cannot be formatted shows as "--:--"; the suffix follows in every case.
QString ClockTextFrom(const ClockInputs& inputs);

// The clock text now, from the user's time format and time zone and the current uiLanguage.
// Nothing is cached between calls. UI thread only.
QString ClockText();

}  // namespace mirvane
