#include "localization/ui_text.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace mirvane {
namespace {

constexpr UiLanguage kLanguages[] = {UiLanguage::English, UiLanguage::German, UiLanguage::French,
                                     UiLanguage::Spanish};

TEST(UiText, EveryTextExistsInEveryLanguage) {
    for (int id = 0; id < kTextIdCount; ++id) {
        for (const UiLanguage language : kLanguages) {
            EXPECT_FALSE(UiTextIn(static_cast<TextId>(id), language).isEmpty())
                << "id " << id << ", language " << static_cast<int>(language);
        }
    }
    for (const UiLanguage language : kLanguages) {
        EXPECT_FALSE(ExportProgressStatus(language).isEmpty());
    }
}

TEST(UiText, ColumnsFollowTheLanguagesAndDecodeAccents) {
    // The row that names each language shows both the column order and the UTF-8 decoding.
    EXPECT_EQ(UiTextIn(TextId::LanguageNameText, UiLanguage::English), u"English");
    EXPECT_EQ(UiTextIn(TextId::LanguageNameText, UiLanguage::German), u"Deutsch");
    EXPECT_EQ(UiTextIn(TextId::LanguageNameText, UiLanguage::French), u"Français");
    EXPECT_EQ(UiTextIn(TextId::LanguageNameText, UiLanguage::Spanish), u"Español");
}

TEST(UiText, HelpTextIsSevenParagraphsSeparatedByOneEmptyLine) {
    for (const UiLanguage language : kLanguages) {
        const QString help = UiTextIn(TextId::HelpText, language);
        const QStringList paragraphs = help.split(QStringLiteral("\r\n\r\n"));
        ASSERT_EQ(paragraphs.size(), 7) << static_cast<int>(language);
        EXPECT_EQ(paragraphs.front(), u"Mirvane 1.0");
        for (const QString& paragraph : paragraphs) {
            EXPECT_FALSE(paragraph.isEmpty());
            EXPECT_FALSE(paragraph.contains(u'\n') || paragraph.contains(u'\r'));
        }
    }
}

TEST(UiText, OutOfRangeIdsAndLanguagesAreSafe) {
    EXPECT_TRUE(UiTextIn(static_cast<TextId>(-1), UiLanguage::English).isEmpty());
    EXPECT_TRUE(UiTextIn(static_cast<TextId>(kTextIdCount), UiLanguage::German).isEmpty());
    EXPECT_EQ(UiTextIn(TextId::ExitText, static_cast<UiLanguage>(4)),
              UiTextIn(TextId::ExitText, UiLanguage::English));
    EXPECT_EQ(ExportProgressStatus(static_cast<UiLanguage>(-3)),
              ExportProgressStatus(UiLanguage::English));
}

}  // namespace
}  // namespace mirvane
