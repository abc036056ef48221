#include "localization/time_picture.h"

namespace mirvane {
namespace {

constexpr QChar kQuote = u'\'';

bool IsPatternLetter(QChar c) {
    return c == u'h' || c == u'H' || c == u'm' || c == u's' || c == u't';
}

// Walks the picture, handing each pattern (its letter and a length of 1 or 2) to onPattern and
// each literal character to onLiteral. False when a quoted run is not closed.
template <typename OnPattern, typename OnLiteral>
bool WalkPicture(QStringView picture, OnPattern&& onPattern, OnLiteral&& onLiteral) {
    const qsizetype size = picture.size();
    bool quoted = false;
    qsizetype i = 0;
    while (i < size) {
        const QChar c = picture[i];
        if (c == kQuote) {
            if (i + 1 < size && picture[i + 1] == kQuote) {
                onLiteral(kQuote);
                i += 2;
            } else {
                quoted = !quoted;
                ++i;
            }
        } else if (quoted || !IsPatternLetter(c)) {
            onLiteral(c);
            ++i;
        } else {
            qsizetype run = 1;
            while (i + run < size && picture[i + run] == c) {
                ++run;
            }
            onPattern(c, run >= 2 ? 2 : 1);
            i += run;
        }
    }
    return !quoted;
}

void AppendNumber(QString& out, int value, int length) {
    out += QString::number(value).rightJustified(length, u'0');
}

}  // namespace

std::optional<QString> FormatTimePicture(QStringView picture, TimeOfDay time,
                                         const DayPeriodDesignators& designators) {
    if (time.hour < 0 || time.hour > 23 || time.minute < 0 || time.minute > 59 || time.second < 0 ||
        time.second > 60) {
        return std::nullopt;
    }
    const QString& designator = time.hour < 12 ? designators.am : designators.pm;
    QString out;
    const bool closed = WalkPicture(
        picture,
        [&](QChar letter, int length) {
            switch (letter.unicode()) {
                case u'h':
                    AppendNumber(out, time.hour % 12 == 0 ? 12 : time.hour % 12, length);
                    break;
                case u'H':
                    AppendNumber(out, time.hour, length);
                    break;
                case u'm':
                    AppendNumber(out, time.minute, length);
                    break;
                case u's':
                    AppendNumber(out, time.second, length);
                    break;
                default:
                    out += length == 1 ? designator.left(1) : designator;
                    break;
            }
        },
        [&](QChar c) { out += c; });
    if (!closed || out.size() > kMaxFormattedTimeLength) {
        return std::nullopt;
    }
    return out;
}

bool ShowsTwentyFourHourClock(QStringView picture) {
    bool twentyFourHour = false;
    WalkPicture(
        picture, [&](QChar letter, int) { twentyFourHour = twentyFourHour || letter == u'H'; },
        [](QChar) {});
    return twentyFourHour;
}

}  // namespace mirvane
