#include "shell/help_window.h"

#include <QPlainTextEdit>

#include "shell/controls.h"

namespace mirvane::shell {

HelpWindow::HelpWindow(QWidget& owner)
    : ModalWindow(owner, QString::fromUtf16(kHelpTitle), kHelpClientSize) {
    auto* help = new QPlainTextEdit(this);
    SetControlId(*help, IDC_HELP_TEXT);
    help->setAccessibleName(windowTitle());
    help->setGeometry(24, 20, 650, 495);
    help->setReadOnly(true);
    help->setPlainText(Text(TextId::HelpText));
    help->setFrameShape(QFrame::NoFrame);
    help->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    help->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Clicking still selects text to copy; Tab passes it by.
    help->setFocusPolicy(Qt::ClickFocus);
    help->setTabChangesFocus(true);
    help->setAcceptDrops(false);
    AddCancelButton(QRect(510, 536, 165, 36));
}

}  // namespace mirvane::shell
