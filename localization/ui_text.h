// Every localized text of the user interface, looked up by its id in one of the four languages.
#pragma once

#include <QString>

#include "localization/ui_language.h"

namespace mirvane {

enum class TextId : int {
    TaglineText = 0,
    SourceArchiveLabel = 1,
    SelectYearsLabel = 2,
    ComposeButtonText = 3,
    OpenSavedPairButtonText = 4,
    ColumnsLabel = 5,
    PngWidthLabel = 6,
    ExportButtonText = 7,
    OpenExportsButtonText = 8,
    HelpButtonText = 9,
    HideToTrayButtonText = 10,
    ExitText = 11,
    OpenAppText = 12,
    ReadyStatus = 13,
    SelectYearsStatus = 14,
    PairOpenFailedStatus = 15,
    ExportFailedStatus = 16,
    ExportDoneStatus = 17,
    SavedMomentsTitle = 18,
    DropHintText = 19,
    OpenPairDialogTitle = 20,
    PairPathLabel = 21,
    OpenPairButtonText = 22,
    CancelButtonText = 23,
    HelpText = 24,
    SheetHeadingText = 25,
    PreviewLabel = 26,
    OfflineBadgeText = 27,
    LanguageNameText = 28,
    PairCreditText = 29,
};

inline constexpr int kTextIdCount = 30;

// The text of `id` in `language`. Safe on any thread: it reads only constant data.
// An id outside the table gives an empty text.
QString UiTextIn(TextId id, UiLanguage language);

// The text of `id` in the current uiLanguage. UI thread only.
QString UiText(TextId id);

// The status text shown while an export runs. It is kept apart from the table because only the
// export command shows it.
QString ExportProgressStatus(UiLanguage language);

// The open-pair window's button that opens the desktop's file chooser; kept apart from the table
// for the same reason.
QString BrowseButtonText(UiLanguage language);

}  // namespace mirvane
