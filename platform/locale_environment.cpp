#include "platform/locale_environment.h"

#include <langinfo.h>
#include <locale.h>

#include <QByteArrayView>
#include <QLocale>
#include <QStringDecoder>
#include <QStringList>
#include <ctime>
#include <memory>
#include <type_traits>

namespace mirvane::platform {
namespace {

struct LocaleDeleter {
    void operator()(std::remove_pointer_t<locale_t>* locale) const { freelocale(locale); }
};
using LocaleHandle = std::unique_ptr<std::remove_pointer_t<locale_t>, LocaleDeleter>;

}  // namespace

QString FirstUiLanguageName() {
    const QStringList languages = QLocale::system().uiLanguages();
    return languages.isEmpty() ? QString() : languages.front();
}

void SetPreferredUiLanguage(QStringView) {}

std::optional<QString> UserStrftimeTimeFormat() {
    // A locale object of our own, so that neither the process locale nor other threads are
    // affected by the lookup.
    const LocaleHandle locale(newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr)));
    if (!locale) {
        return std::nullopt;
    }
    const char* format = nl_langinfo_l(T_FMT, locale.get());
    // The strings of LC_TIME are in that category's own character set, whatever LC_CTYPE says.
    const char* codeset = nl_langinfo_l(_NL_TIME_CODESET, locale.get());
    if (format == nullptr || codeset == nullptr) {
        return std::nullopt;
    }
    QStringDecoder decoder(codeset);
    if (!decoder.isValid()) {
        return std::nullopt;
    }
    QString text = decoder.decode(QByteArrayView(format));
    if (decoder.hasError()) {
        return std::nullopt;
    }
    return text;
}

std::optional<LocalClockReading> ReadLocalClock() {
    tzset();  // localtime_r need not notice a changed TZ by itself
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (now == static_cast<std::time_t>(-1) || localtime_r(&now, &local) == nullptr) {
        return std::nullopt;
    }
    LocalClockReading reading;
    reading.hour = local.tm_hour;
    reading.minute = local.tm_min;
    reading.second = local.tm_sec;
    reading.utcBiasMinutes = static_cast<int>(-(local.tm_gmtoff / 60));
    return reading;
}

}  // namespace mirvane::platform
