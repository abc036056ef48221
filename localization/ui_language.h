// The language the user interface speaks: English, German, French or Spanish, following the
// user's locale environment.
#pragma once

#include <QStringView>
#include <cstdint>

namespace mirvane {

enum class UiLanguage : std::int32_t { English = 0, German = 1, French = 2, Spanish = 3 };

inline constexpr int kUiLanguageCount = 4;

// The current language: English until SelectUiLanguage runs. UI thread only; work that runs
// elsewhere (an export) copies it when it starts.
extern const UiLanguage& uiLanguage;

// The column of a language in the tables indexed by language; 0 (English) for any value outside
// the four languages.
int LanguageIndex(UiLanguage language);

// The language a locale name such as "de-AT" asks for: its first two characters, compared
// exactly with "de", "fr" and "es". Anything else, including a name shorter than two
// characters, gives English.
UiLanguage LanguageForLocaleName(QStringView localeName);

// "en-US", "de-DE", "fr-FR" or "es-ES": the locale whose conventions go with the language.
QStringView LocaleNameOf(UiLanguage language);

// Sets uiLanguage; a value outside the four languages gives English. UI thread only.
void SetUiLanguage(UiLanguage language);

// Sets uiLanguage from the first UI language of the user's locale environment and returns it.
// Called at start-up before any window exists, and again after a settings change.
UiLanguage SelectUiLanguage();

}  // namespace mirvane
