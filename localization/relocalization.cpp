#include "localization/relocalization.h"

#include "localization/status_line.h"
#include "localization/ui_language.h"

namespace mirvane {

void Relocalize(const SetButtonCaption& setButtonCaption) {
    SelectUiLanguage();
    if (setButtonCaption) {
        for (const ButtonCaption& button : kMainButtonCaptions) {
            setButtonCaption(button.controlId, UiText(button.text));
        }
    }
    SetStatus(TextId::ReadyStatus, false);
}

}  // namespace mirvane
