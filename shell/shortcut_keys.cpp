#include "shell/shortcut_keys.h"

#include <QShortcut>

#include "shell/modal_window.h"

namespace mirvane::shell {

void InstallShortcutKeys(QWidget& window, const CommandDispatcher& commands) {
    for (const ShortcutKey& key : kShortcutKeys) {
        auto* shortcut = new QShortcut(QKeySequence(key.key), &window);
        // Not while a list drops down or a modal window has the keyboard: those are windows
        // of their own.
        shortcut->setContext(Qt::WindowShortcut);
        QObject::connect(shortcut, &QShortcut::activated, &window, [&commands, id = key.controlId] {
            if (OpenModal() == nullptr) {
                commands.Dispatch(id, kClicked);
            }
        });
        // The keypad's Enter with Ctrl composes too.
        if (key.key.key() == Qt::Key_Return) {
            auto* keypad = new QShortcut(
                QKeySequence(Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_Enter), &window);
            keypad->setContext(Qt::WindowShortcut);
            QObject::connect(keypad, &QShortcut::activated, shortcut, &QShortcut::activated);
        }
    }
}

}  // namespace mirvane::shell
