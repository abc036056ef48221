#include "localization/clock_text.h"

#include <QLocale>
#include <algorithm>
#include <cstdlib>

#include "localization/strftime_picture.h"
#include "platform/locale_environment.h"

namespace mirvane {
namespace {

constexpr QStringView kTwentyFourHourPicture = u"HH:mm:ss";
constexpr QStringView kTwelveHourPicture = u"h:mm:ss tt";
constexpr QStringView kUnformattableTime = u"--:--";

// The longest user picture taken; a longer one counts as unreadable.
constexpr qsizetype kMaxPictureLength = 95;

bool HoldsCyrillic(QStringView picture) {
    return std::any_of(picture.begin(), picture.end(),
                       [](QChar c) { return c.unicode() >= 0x0400 && c.unicode() <= 0x052F; });
}

// The interface speaks only Latin-script languages: a picture holding Cyrillic text gives way to a
// plain one that keeps the user's 12- or 24-hour convention.
QStringView ChoosePicture(const ClockInputs& inputs) {
    if (!inputs.userPicture || inputs.userPicture->isEmpty() ||
        inputs.userPicture->size() > kMaxPictureLength) {
        return kTwentyFourHourPicture;
    }
    if (HoldsCyrillic(*inputs.userPicture)) {
        return inputs.userClockIs24Hour ? kTwentyFourHourPicture : kTwelveHourPicture;
    }
    return *inputs.userPicture;
}

}  // namespace

QString UtcOffsetSuffix(int utcBiasMinutes) {
    // Widened so that the magnitude of the most negative int is representable.
    const long long magnitude = std::llabs(static_cast<long long>(utcBiasMinutes));
    return QString::asprintf("  UTC%c%02lld:%02lld", utcBiasMinutes <= 0 ? '+' : '-',
                             magnitude / 60, magnitude % 60);
}

DayPeriodDesignators DesignatorsOf(UiLanguage language) {
    const QLocale locale(LocaleNameOf(language).toString());
    return {locale.amText(), locale.pmText()};
}

QString ClockTextFrom(const ClockInputs& inputs) {
    std::optional<QString> time;
    if (inputs.localTime) {
        time = FormatTimePicture(ChoosePicture(inputs), *inputs.localTime,
                                 DesignatorsOf(inputs.language));
    }
    return time.value_or(kUnformattableTime.toString()) + UtcOffsetSuffix(inputs.utcBiasMinutes);
}

QString ClockText() {
    ClockInputs inputs;
    inputs.language = uiLanguage;
    if (const auto format = platform::UserStrftimeTimeFormat()) {
        inputs.userPicture = PictureFromStrftime(*format);
        inputs.userClockIs24Hour = ShowsTwentyFourHourClock(*inputs.userPicture);
    }
    if (const auto clock = platform::ReadLocalClock()) {
        inputs.localTime = TimeOfDay{clock->hour, clock->minute, clock->second};
        inputs.utcBiasMinutes = clock->utcBiasMinutes;
    }
    return ClockTextFrom(inputs);
}

}  // namespace mirvane
