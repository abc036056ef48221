// The help window: the help text and a Cancel button.
#pragma once

#include <QSize>

#include "shell/modal_window.h"

namespace mirvane::shell {

inline constexpr QSize kHelpClientSize(694, 581);

// The title is the program's name and version in every language.
inline constexpr char16_t kHelpTitle[] = u"Mirvane 1.0";

class HelpWindow : public ModalWindow {
  public:
    explicit HelpWindow(QWidget& owner);
};

}  // namespace mirvane::shell
