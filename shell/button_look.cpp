#include "shell/button_look.h"

#include "render/palette.h"
#include "shell/control_ids.h"

namespace mirvane::shell {

bool IsPrimaryButton(int controlId) {
    constexpr int kOpenPairDialogButton = 303;
    return controlId == IDC_COMPOSE || controlId == IDC_EXPORT ||
           controlId == kOpenPairDialogButton;
}

ButtonLook ButtonLookFor(bool primary, bool pressed, bool enabled) {
    ButtonLook look{};
    look.face = pressed ? palette::kAccent : primary ? palette::kInk : kButtonFace;
    look.caption = !enabled ? palette::kMuted : primary ? kButtonLabelLight : palette::kBody;
    return look;
}

QRectF CaptionRect(QSize button) {
    return QRectF(4, 0, button.width() - 8, button.height());
}

QRect FocusRect(QSize button) {
    return QRect(QPoint(3, 3), button).adjusted(0, 0, -6, -6);
}

}  // namespace mirvane::shell
