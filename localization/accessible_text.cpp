#include "localization/accessible_text.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace mirvane {
namespace {

using Translations = std::array<std::u8string_view, kUiLanguageCount>;

// clang-format off
constexpr Translations kSheetPreview = {
    u8"Sheet preview",
    u8"Blattvorschau",
    u8"Aperçu de la planche",
    u8"Vista previa de la hoja"};

constexpr Translations kError = {
    u8"Error",
    u8"Fehler",
    u8"Erreur",
    u8"Error"};
// clang-format on

QString In(const Translations& texts, UiLanguage language) {
    const std::u8string_view text = texts[static_cast<std::size_t>(LanguageIndex(language))];
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QString PreviewAccessibleName(const Sheet& sheet, UiLanguage language) {
    QString name = In(kSheetPreview, language);
    if (sheet.frames.size() < 2) {
        return name;
    }
    name += QStringLiteral(": ") + sheet.title;
    for (const Frame& frame : sheet.frames) {
        name += QStringLiteral(", ") + QString::number(frame.year);
    }
    return name;
}

QString ErrorStatusDescription(UiLanguage language) {
    return In(kError, language);
}

}  // namespace mirvane
