// Switching the user interface to the language the user's settings now ask for.
#pragma once

#include <QString>
#include <array>
#include <functional>

#include "localization/ui_text.h"

namespace mirvane {

struct ButtonCaption {
    int controlId;
    TextId text;
};

// The main window's push buttons, by control id, and the texts of their captions.
inline constexpr std::array<ButtonCaption, 7> kMainButtonCaptions = {{
    {102, TextId::ComposeButtonText},
    {103, TextId::OpenSavedPairButtonText},
    {106, TextId::ExportButtonText},
    {107, TextId::OpenExportsButtonText},
    {108, TextId::HelpButtonText},
    {109, TextId::HideToTrayButtonText},
    {110, TextId::ExitText},
}};

using SetButtonCaption = std::function<void(int controlId, const QString& caption)>;

// Chooses the UI language again, gives every button of kMainButtonCaptions its caption in that
// language through `setButtonCaption` (skipped when empty), then shows the ready status, whose
// repaint brings every painted text into the new language. UI thread only.
void Relocalize(const SetButtonCaption& setButtonCaption);

}  // namespace mirvane
