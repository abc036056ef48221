#include "shell/main_window.h"

#include <QCloseEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPaintEvent>
#include <QWindow>
#include <utility>

#include "export/exports_folder.h"
#include "localization/status_line.h"
#include "platform/window_activation.h"
#include "sheet/export_gate.h"
#include "shell/accessibility.h"
#include "shell/control_ids.h"
#include "shell/dropped_files.h"
#include "shell/export_busy.h"
#include "shell/export_command.h"
#include "shell/hide_to_tray.h"
#include "shell/layout.h"
#include "shell/main_window_controls.h"
#include "shell/modal_window.h"
#include "shell/program_palette.h"
#include "shell/selectors.h"
#include "shell/shortcut_keys.h"
#include "shell/ui_scale.h"
#include "shell/wait_cursor.h"
#include "shell/window_painting.h"
#include "shell/year_picker.h"

namespace mirvane::shell {

MainWindow::MainWindow(std::function<void()> endProgram, std::unique_ptr<NotificationArea> area)
    : endProgram_(std::move(endProgram)) {
    // Every pixel of the client area is painted by us, so nothing is erased first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setWindowTitle(QStringLiteral("Mirvane"));
    setMinimumSize(kMinimumClientSize);
    resize(kInitialClientSize);
    setAcceptDrops(true);
    // Before the controls, which take it from here.
    setPalette(ProgramPalette());
    SetStatusRepaintHook([this] {
        update();
        AnnounceStatus(*this);
    });

    InstallAccessibility();
    CreateMainControls(*this);
    CreatePaintedTexts(*this);
    InstallCommands();
    commands_.Connect(*this);
    InstallShortcutKeys(*this, commands_);
    RunGuarded([this] {
        FillYearList(*this);
        ComposeSheet(*this);
    });
    LayoutControls(*this);

    tray_ = std::make_unique<TrayIcon>(
        std::move(area), windowIcon(), [this] { Restore(); }, [this] { Exit(); });
    tray_->Add();

    clock_.setTimerType(Qt::PreciseTimer);
    clock_.setInterval(kClockPeriodMs);
    connect(&clock_, &QTimer::timeout, this, [this] { TickClock(); });
    clock_.start();
}

MainWindow::~MainWindow() {
    SetStatusRepaintHook({});
    // The controls go while the commands they feed still exist; QWidget would delete them only
    // after this window's members are gone.
    qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
}

void MainWindow::InstallCommands() {
    commands_.Set(IDC_LOCATION, [this](int notification) {
        // A new place gets its years; the sheet stays until the next Compose.
        if (notification == kSelectionChanged) {
            FillYearList(*this);
        }
    });
    commands_.Set(IDC_COLUMNS, [this](int notification) {
        if (notification == kSelectionChanged) {
            update();
        }
    });
    // The PNG width (105) is read when an export starts; choosing it does nothing by itself.
    commands_.Set(IDC_COMPOSE, [this](int) {
        {
            const WaitCursor wait;
            ComposeSheet(*this);
        }
        KeepFocus(*this);
    });
    commands_.Set(IDCANCEL, [this](int) { HideToTray(*this, *tray_); });
    commands_.Set(IDC_HIDE_TO_TRAY, [this](int) { HideToTray(*this, *tray_); });
    commands_.Set(IDC_OPEN_EXPORTS, [](int) { OpenExportsFolder(); });
    commands_.Set(IDC_EXPORT, [this](int) { StartExport(*this); });
    commands_.Set(IDC_EXIT, [this](int) { Exit(); });
    commands_.Set(IDC_OPEN_PAIR, [this](int) { OpenModalWindow(*this, ModalKind::OpenPair); });
    commands_.Set(IDC_HELP, [this](int) { OpenModalWindow(*this, ModalKind::Help); });
    // Enter (IDOK) does nothing in the main window.
}

void MainWindow::Exit() {
    // Ending now would cut the export's file short: show the window instead.
    if (exportBusy) {
        Restore();
        return;
    }
    clock_.stop();
    if (endProgram_) {
        endProgram_();
    }
}

void MainWindow::Restore(const QString& activationToken) {
    // With a token the compositor takes, the window is activated where it is.
    const bool inPlace = platform::ActivatesWithToken(activationToken);
    if (platform::RestoreMapsAnew() && !inPlace && isVisible() && !isActiveWindow()) {
        hide();
    }
    showNormal();
    raise();
    // With a modal window open the keyboard belongs to it.
    QWidget* target = this;
    if (QWidget* modal = OpenModal()) {
        modal->showNormal();
        modal->raise();
        target = modal;
    }
    if (QWindow* handle = target->windowHandle()) {
        // A refused token (a stale one, say) leaves the window behind: it is shown anew then, as
        // without a token, unless it went to the tray meanwhile.
        platform::ActivateWindow(*handle, activationToken, [this] {
            if (isVisible()) {
                Restore();
            }
        });
    }
}

void MainWindow::TickClock() {
    // A hidden window paints nothing; the clock reads the time afresh when it shows again.
    if (isVisible()) {
        update(FooterBandRect(*this));
    }
}

void MainWindow::paintEvent(QPaintEvent* event) {
    if (static_cast<float>(devicePixelRatioF()) != uiScale) {
        // A new pixel ratio shows first as a paint; the controls follow on the next turn.
        QMetaObject::invokeMethod(
            this, [this] { RunGuarded([this] { FollowPixelRatio(*this); }); },
            Qt::QueuedConnection);
    }
    RunGuarded([&] { PaintMainWindow(*this, event->rect(), SelectedColumnCount(*this)); });
}

void MainWindow::resizeEvent(QResizeEvent*) {
    RunGuarded([this] {
        LayoutControls(*this);
        PlacePaintedTexts(*this);
    });
    update();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
            commands_.Dispatch(IDCANCEL, kClicked);
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            commands_.Dispatch(IDOK, kClicked);
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing hides to the tray; without one it is Exit.
    event->ignore();
    RunGuarded([this] { CloseToTray(*this, *tray_, [this] { Exit(); }); });
}

void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    QWidget* modal = OpenModal();
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && modal != nullptr &&
        modal->isVisible()) {
        // A click on the blocked window, or the desktop activating it: the keyboard would go
        // nowhere, so it goes to the modal window.
        QMetaObject::invokeMethod(
            modal, [modal] { modal->activateWindow(); }, Qt::QueuedConnection);
    }
    if (event->type() == QEvent::WindowStateChange && modal != nullptr) {
        // The modal window goes to the taskbar with its owner and comes back with it.
        if (isMinimized()) {
            modal->hide();
        } else if (isVisible()) {
            modal->show();
            modal->activateWindow();
        }
    }
    if (event->type() == QEvent::LocaleChange) {
        RunGuarded([this] { RelocalizeWindow(*this); });
    } else if (event->type() == QEvent::WindowStateChange && isMinimized()) {
        // Hiding from inside the state change would fight the window manager: next turn.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (isMinimized()) {
                    RunGuarded([this] { HideToTray(*this, *tray_); });
                }
            },
            Qt::QueuedConnection);
    }
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!followsScreen_ && windowHandle() != nullptr) {
        followsScreen_ = true;
        connect(windowHandle(), &QWindow::screenChanged, this,
                [this] { RunGuarded([this] { FollowPixelRatio(*this); }); });
    }
    uiScale = static_cast<float>(devicePixelRatioF());
}

void MainWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // Hidden to the tray: the modal window goes too, and Restore brings it back.
    if (QWidget* modal = OpenModal(); modal != nullptr && !event->spontaneous()) {
        modal->hide();
    }
}

namespace {

// Pair files are only read: a drop is taken as a copy, so that no source moves or deletes one.
bool TakeAsCopy(QDropEvent& event) {
    if (!event.mimeData()->hasUrls() || !event.possibleActions().testFlag(Qt::CopyAction)) {
        event.ignore();
        return false;
    }
    event.setDropAction(Qt::CopyAction);
    event.accept();
    return true;
}

}  // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    TakeAsCopy(*event);
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event) {
    TakeAsCopy(*event);
}

void MainWindow::dropEvent(QDropEvent* event) {
    if (!TakeAsCopy(*event)) {
        return;
    }
    const QList<QUrl> urls = event->mimeData()->urls();
    RunGuarded([&urls] {
        const WaitCursor wait;
        OpenDroppedFiles(urls);
    });
    KeepFocus(*this);
}

}  // namespace mirvane::shell
