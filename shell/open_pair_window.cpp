#include "shell/open_pair_window.h"

#include <QAbstractButton>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QPointer>
#include <QUrl>
#include <utility>

#include "localization/status_line.h"
#include "pairs/pair_import.h"
#include "sheet/current_sheet.h"
#include "shell/accessibility.h"
#include "shell/controls.h"
#include "shell/dropped_files.h"
#include "shell/owner_button.h"
#include "shell/wait_cursor.h"

namespace mirvane::shell {

QString UnquotedPath(const QString& typed) {
    if (typed.size() > 1 && typed.front() == u'"' && typed.back() == u'"') {
        return typed.sliced(1, typed.size() - 2);
    }
    return typed;
}

QString PairPathOfText(const QString& text) {
    const QString path = UnquotedPath(text);
    if (!path.startsWith(u"file:", Qt::CaseInsensitive)) {
        return path;
    }
    QUrl url(path);
    if (url.host().compare(u"localhost", Qt::CaseInsensitive) == 0) {
        url.setHost(QString());
    }
    // A host would come back as "//host/path", which names a local path here.
    if (!url.isValid() || !url.isLocalFile() || !url.host().isEmpty()) {
        return QString();
    }
    return url.toLocalFile();
}

OpenPairWindow::OpenPairWindow(QWidget& owner, PairImport import, FileChooser choose)
    : ModalWindow(owner, UiText(TextId::OpenPairDialogTitle), kOpenPairClientSize),
      import_(std::move(import)),
      choose_(std::move(choose)) {
    if (!import_) {
        import_ = [](std::span<const QString> paths) { return ImportPairFiles(paths); };
    }
    if (!choose_) {
        choose_ = [title = Text(TextId::OpenPairDialogTitle)](QWidget& parent,
                                                              const QString& start) {
            return ChoosePairFile(parent, title, start);
        };
    }
    setAcceptDrops(true);
    // Made in Tab order.
    QLabel* pathLabel = AddLabel(Text(TextId::PairPathLabel), QRect(24, 24, 630, 24));
    path_ = new QLineEdit(this);
    SetControlId(*path_, IDC_PAIR_PATH);
    path_->setAccessibleName(pathLabel->text());
    pathLabel->setBuddy(path_);
    path_->setMaxLength(kMaxPairPathLength);
    // The window decides what a drop onto the box does; the box would insert file names as text.
    path_->setAcceptDrops(false);
    path_->setGeometry(24, 60, 630, 34);
    auto* browse = new OwnerButton(IDC_PAIR_BROWSE, BrowseButtonText(Language()), this);
    browse->setGeometry(24, 270, 150, 38);
    connect(browse, &QAbstractButton::clicked, this, [this] { RunInWindow([this] { Browse(); }); });
    AddLabel(Text(TextId::DropHintText), QRect(24, 118, 630, 42));
    error_ = AddLabel(QString(), QRect(24, 180, 630, 68), IDC_PAIR_ERROR);
    auto* open = new OwnerButton(IDC_PAIR_OPEN, Text(TextId::OpenPairButtonText), this);
    open->setGeometry(330, 270, 160, 38);
    connect(open, &QAbstractButton::clicked, this, [this] { RunInWindow([this] { Accept(); }); });
    AddCancelButton(QRect(505, 270, 150, 38));
}

void OpenPairWindow::Accept() {
    const QString paths[] = {PairPathOfText(path_->text())};
    Open(paths);
}

void OpenPairWindow::Open(std::span<const QString> paths) {
    std::optional<Sheet> sheet;
    {
        const WaitCursor wait;
        sheet = import_(paths);
    }
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
    // Said again when the same error comes back.
    AnnounceError(*error_);
}

void OpenPairWindow::Browse() {
    const QFileInfo typed(PairPathOfText(path_->text()));
    const QString start =
        typed.isAbsolute() && typed.dir().exists() ? typed.absolutePath() : QDir::homePath();
    // The chooser runs an event loop of its own, in which the tray's Exit may end this window:
    // the chooser called is a copy, and the window is looked for again afterwards.
    const QPointer<OpenPairWindow> alive(this);
    const FileChooser choose = choose_;
    const QString chosen = choose(*this, start);
    if (alive && !chosen.isEmpty()) {
        path_->setText(chosen);
    }
}

bool OpenPairWindow::FillsPathBox(const QMimeData& data, QPoint position) const {
    return path_->geometry().contains(position) &&
           (data.hasUrls() ? data.urls().size() == 1 : data.hasText());
}

bool OpenPairWindow::TakesDrop(const QMimeData& data, QPoint position) const {
    return data.hasUrls() || FillsPathBox(data, position);
}

void OpenPairWindow::dragEnterEvent(QDragEnterEvent* event) {
    dragMoveEvent(event);
}

void OpenPairWindow::dragMoveEvent(QDragMoveEvent* event) {
    // Only ever a copy, so that a source never moves or deletes what it lends.
    if ((event->possibleActions() & Qt::CopyAction) &&
        TakesDrop(*event->mimeData(), event->position().toPoint())) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void OpenPairWindow::dropEvent(QDropEvent* event) {
    const QMimeData& data = *event->mimeData();
    const QPoint at = event->position().toPoint();
    if (!(event->possibleActions() & Qt::CopyAction) || !TakesDrop(data, at)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    if (FillsPathBox(data, at)) {
        const QUrl url = data.hasUrls() ? data.urls().front() : QUrl();
        path_->setText(!data.hasUrls()     ? data.text()
                       : url.isLocalFile() ? url.toLocalFile()
                                           : url.toString());
        path_->setFocus();
        return;
    }
    const QList<QUrl> urls = data.urls();
    RunInWindow([this, &urls] {
        const std::vector<QString> paths = DroppedPairPaths(urls);
        Open(paths);
    });
}

}  // namespace mirvane::shell
