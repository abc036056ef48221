#include "shell/open_pair_window.h"

#include <QAbstractButton>
#include <utility>

#include "localization/status_line.h"
#include "pairs/pair_import.h"
#include "sheet/current_sheet.h"
#include "shell/controls.h"
#include "shell/owner_button.h"

namespace mirvane::shell {

QString UnquotedPath(const QString& typed) {
    if (typed.size() > 1 && typed.front() == u'"' && typed.back() == u'"') {
        return typed.sliced(1, typed.size() - 2);
    }
    return typed;
}

OpenPairWindow::OpenPairWindow(QWidget& owner, PairImport import)
    : ModalWindow(owner, UiText(TextId::OpenPairDialogTitle), kOpenPairClientSize),
      import_(std::move(import)) {
    if (!import_) {
        import_ = [](std::span<const QString> paths) { return ImportPairFiles(paths); };
    }
    // Made in Tab order.
    AddLabel(Text(TextId::PairPathLabel), QRect(24, 24, 630, 24));
    path_ = new QLineEdit(this);
    SetControlId(*path_, IDC_PAIR_PATH);
    path_->setMaxLength(kMaxPairPathLength);
    // Only the owner takes dropped files; a line edit would take their names as text.
    path_->setAcceptDrops(false);
    path_->setGeometry(24, 60, 630, 34);
    AddLabel(Text(TextId::DropHintText), QRect(24, 118, 630, 42));
    error_ = AddLabel(QString(), QRect(24, 180, 630, 68), IDC_PAIR_ERROR);
    auto* open = new OwnerButton(IDC_PAIR_OPEN, Text(TextId::OpenPairButtonText), this);
    open->setGeometry(330, 270, 160, 38);
    connect(open, &QAbstractButton::clicked, this, [this] { RunInWindow([this] { Accept(); }); });
    AddCancelButton(QRect(505, 270, 150, 38));
}

void OpenPairWindow::Accept() {
    const QString paths[] = {UnquotedPath(path_->text())};
    std::optional<Sheet> sheet = import_(paths);
    if (!sheet) {
        ShowFailure();
        return;
    }
    ReplaceCurrentSheet(std::move(*sheet));
    SetStatus(TextId::ReadyStatus, false);
    close();
}

void OpenPairWindow::ShowFailure() {
    error_->setText(Text(TextId::PairOpenFailedStatus));
}

}  // namespace mirvane::shell
