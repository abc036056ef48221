#include "shell/command_dispatcher.h"

#include <QAbstractButton>
#include <QComboBox>
#include <utility>

#include "localization/status_line.h"
#include "shell/controls.h"

namespace mirvane::shell {

bool RunGuarded(const std::function<void()>& work) {
    try {
        work();
        return true;
    } catch (...) {
    }
    try {
        SetStatus(TextId::PairOpenFailedStatus, true);
    } catch (...) {
        // Not even the status line can be set (out of memory): the window keeps running as is.
    }
    return false;
}

void CommandDispatcher::Set(int id, Command command) {
    commands_[id] = std::move(command);
}

void CommandDispatcher::Dispatch(int id, int notification) const {
    const auto found = commands_.find(id);
    if (found == commands_.end() || !found->second) {
        return;
    }
    // A copy, so that a command may replace itself while it runs.
    const Command command = found->second;
    RunGuarded([&] { command(notification); });
}

void CommandDispatcher::Connect(QWidget& window) const {
    for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QVariant id = child->property(kControlIdProperty);
        if (!id.isValid()) {
            continue;
        }
        const int controlId = id.toInt();
        if (auto* button = qobject_cast<QAbstractButton*>(child)) {
            QObject::connect(button, &QAbstractButton::clicked, button,
                             [this, controlId] { Dispatch(controlId, kClicked); });
        } else if (auto* selector = qobject_cast<QComboBox*>(child)) {
            QObject::connect(selector, &QComboBox::currentIndexChanged, selector,
                             [this, controlId] { Dispatch(controlId, kSelectionChanged); });
        }
    }
}

}  // namespace mirvane::shell
