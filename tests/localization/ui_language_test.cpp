#include "localization/ui_language.h"

#include <gtest/gtest.h>

#include <QString>

namespace mirvane {
namespace {

TEST(LanguageForLocaleName, RegionalVariantsSpeakTheirLanguage) {
    for (const char16_t* name : {u"de-DE", u"de-AT", u"de-CH", u"de"}) {
        EXPECT_EQ(LanguageForLocaleName(name), UiLanguage::German)
            << QStringView(name).toString().toStdString();
    }
    for (const char16_t* name : {u"fr-FR", u"fr-CA", u"fr-BE"}) {
        EXPECT_EQ(LanguageForLocaleName(name), UiLanguage::French)
            << QStringView(name).toString().toStdString();
    }
    for (const char16_t* name : {u"es-ES", u"es-MX", u"es-419"}) {
        EXPECT_EQ(LanguageForLocaleName(name), UiLanguage::Spanish)
            << QStringView(name).toString().toStdString();
    }
}

TEST(LanguageForLocaleName, EverythingElseIsEnglish) {
    // Upper case and a bare "C" locale included: the comparison is exact.
    for (const char16_t* name :
         {u"en-GB", u"pt-BR", u"ru-RU", u"ja-JP", u"", u"d", u"C", u"DE-de", u"Es"}) {
        EXPECT_EQ(LanguageForLocaleName(name), UiLanguage::English)
            << QStringView(name).toString().toStdString();
    }
}

TEST(UiLanguage, ValuesOutsideTheFourLanguagesFallBackToEnglish) {
    const auto bogus = static_cast<UiLanguage>(7);
    EXPECT_EQ(LanguageIndex(bogus), 0);
    EXPECT_EQ(LocaleNameOf(static_cast<UiLanguage>(-1)), u"en-US");
    EXPECT_EQ(LocaleNameOf(UiLanguage::Spanish), u"es-ES");

    SetUiLanguage(UiLanguage::French);
    SetUiLanguage(bogus);
    EXPECT_EQ(uiLanguage, UiLanguage::English);
}

}  // namespace
}  // namespace mirvane
