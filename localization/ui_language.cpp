#include "localization/ui_language.h"

#include <algorithm>
#include <array>

#include "platform/locale_environment.h"

namespace mirvane {
namespace {

UiLanguage currentLanguage = UiLanguage::English;

constexpr std::array<QStringView, kUiLanguageCount> kLocaleNames = {u"en-US", u"de-DE", u"fr-FR",
                                                                    u"es-ES"};

}  // namespace

const UiLanguage& uiLanguage = currentLanguage;

int LanguageIndex(UiLanguage language) {
    const auto index = static_cast<int>(language);
    return index >= 0 && index < kUiLanguageCount ? index : 0;
}

UiLanguage LanguageForLocaleName(QStringView localeName) {
    const QStringView prefix = localeName.first(std::min<qsizetype>(localeName.size(), 2));
    if (prefix == u"de") {
        return UiLanguage::German;
    }
    if (prefix == u"fr") {
        return UiLanguage::French;
    }
    if (prefix == u"es") {
        return UiLanguage::Spanish;
    }
    return UiLanguage::English;
}

QStringView LocaleNameOf(UiLanguage language) {
    return kLocaleNames[static_cast<std::size_t>(LanguageIndex(language))];
}

void SetUiLanguage(UiLanguage language) {
    currentLanguage = static_cast<UiLanguage>(LanguageIndex(language));
}

UiLanguage SelectUiLanguage() {
    SetUiLanguage(LanguageForLocaleName(platform::FirstUiLanguageName()));
    platform::SetPreferredUiLanguage(LocaleNameOf(uiLanguage));
    return uiLanguage;
}

}  // namespace mirvane
