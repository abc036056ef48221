// The shortcut keys of the main window. Each stands for a button and reaches the command
// dispatcher under that button's id, so every gate of the button holds for its key too.
#pragma once

#include <QKeySequence>
#include <QWidget>
#include <array>

#include "shell/command_dispatcher.h"
#include "shell/control_ids.h"

namespace mirvane::shell {

struct ShortcutKey {
    QKeyCombination key;
    int controlId;
};

inline constexpr std::array<ShortcutKey, 5> kShortcutKeys = {{
    {QKeyCombination(Qt::Key_F1), IDC_HELP},
    {QKeyCombination(Qt::ControlModifier, Qt::Key_O), IDC_OPEN_PAIR},
    {QKeyCombination(Qt::ControlModifier, Qt::Key_E), IDC_EXPORT},
    {QKeyCombination(Qt::ControlModifier, Qt::Key_Return), IDC_COMPOSE},
    {QKeyCombination(Qt::ControlModifier, Qt::Key_Q), IDC_EXIT},
}};

// Lets the keys act while `window` has the keyboard and no modal window is open. `commands`
// must outlive the window's children.
void InstallShortcutKeys(QWidget& window, const CommandDispatcher& commands);

}  // namespace mirvane::shell
