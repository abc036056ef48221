#include "shell/modal_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPalette>

#include "sheet/export_gate.h"
#include "shell/controls.h"
#include "shell/help_window.h"
#include "shell/open_pair_window.h"
#include "shell/owner_button.h"
#include "shell/program_palette.h"
#include "shell/ui_font.h"

namespace mirvane::shell {
namespace {

// Not owning: the owner window owns its modal window.
ModalWindow* openModal = nullptr;

}  // namespace

QWidget* OpenModal() {
    return openModal;
}

void OpenModalWindow(QWidget& owner, ModalKind kind) {
    if (openModal != nullptr || exportBusy) {
        return;
    }
    ModalWindow* window = nullptr;
    if (kind == ModalKind::Help) {
        window = new HelpWindow(owner);
    } else {
        window = new OpenPairWindow(owner);
    }
    openModal = window;
    window->show();
    window->activateWindow();
    const int start = kind == ModalKind::Help ? IDC_MODAL_CLOSE : IDC_PAIR_PATH;
    if (QWidget* control = FindControl(*window, start)) {
        control->setFocus();
    }
}

ModalWindow::ModalWindow(QWidget& owner, const QString& title, QSize clientSize)
    : QWidget(&owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      language_(uiLanguage) {
    setWindowTitle(title);
    setWindowModality(Qt::WindowModal);
    setAttribute(Qt::WA_DeleteOnClose);
    setAcceptDrops(false);
    setFixedSize(clientSize);
    move(owner.frameGeometry().topLeft() + kModalOffset);

    // Labels, the error line, the path box and the help text all sit on paper in body ink.
    setPalette(ProgramPalette());
    setFont(UiFont());
}

ModalWindow::~ModalWindow() {
    // Destroyed with its owner while still open.
    if (openModal == this) {
        openModal = nullptr;
    }
}

void ModalWindow::RunInWindow(const std::function<void()>& work) {
    try {
        work();
        return;
    } catch (...) {
    }
    try {
        ShowFailure();
    } catch (...) {
        // Not even the failure can be shown (out of memory): the window stays as it is.
    }
}

QLabel* ModalWindow::AddLabel(const QString& text, const QRect& rect, int id) {
    auto* label = new QLabel(text, this);
    if (id != 0) {
        SetControlId(*label, id);
    }
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    label->setGeometry(rect);
    return label;
}

void ModalWindow::AddCancelButton(const QRect& rect) {
    auto* cancel = new OwnerButton(IDC_MODAL_CLOSE, Text(TextId::CancelButtonText), this);
    cancel->setGeometry(rect);
    connect(cancel, &QAbstractButton::clicked, this, [this] { RunInWindow([this] { close(); }); });
}

void ModalWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
            RunInWindow([this] { close(); });
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // The path box lets Enter through to here after its returnPressed, which is left
            // unconnected so that one Enter opens the path once.
            RunInWindow([this] { Accept(); });
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
}

void ModalWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    // Hidden first: while it shows, the owner is blocked and would not take the activation.
    hide();
    if (openModal == this) {
        openModal = nullptr;
    }
    if (QWidget* owner = parentWidget()) {
        owner->raise();
        owner->activateWindow();
    }
}

}  // namespace mirvane::shell
