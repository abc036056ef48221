// The main window: a surface painted by us with the controls standing in its gaps. It wires the
// controls and the window's events to the core's operations and keeps none of its own state
// beyond the clock.
#pragma once

#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

#include "shell/command_dispatcher.h"
#include "shell/tray_icon.h"

namespace mirvane::shell {

// The client area at start (the usual outer size less a window frame) and the least it can be.
inline constexpr QSize kInitialClientSize(1164, 801);
inline constexpr QSize kMinimumClientSize(1004, 701);

inline constexpr int kClockPeriodMs = 1000;

class MainWindow : public QWidget {
  public:
    // Creates the controls, fills the year list for the first place, composes its sheet and adds
    // the tray icon.
    // `endProgram` is what Exit does when no export runs; `area` is the desktop's notification
    // area, where the tray icon goes.
    explicit MainWindow(std::function<void()> endProgram,
                        std::unique_ptr<NotificationArea> area = SystemNotificationArea());
    ~MainWindow() override;

    // Shows the window normally, from hidden or minimized, in front and active; an open modal
    // window comes back with it and takes the activation. `activationToken` is what a later
    // start's launcher gave it, for display servers that want one; may be empty.
    void Restore(const QString& activationToken = {});

    // The command table of the controls; commands may be replaced (tests).
    CommandDispatcher& Commands() { return commands_; }

    const QTimer& Clock() const { return clock_; }

    TrayIcon& Tray() { return *tray_; }

    // What the clock does every second: repaints the footer band while the window is visible.
    void TickClock();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void InstallCommands();
    void Exit();

    std::function<void()> endProgram_;
    CommandDispatcher commands_;
    std::unique_ptr<TrayIcon> tray_;
    QTimer clock_;
    bool followsScreen_ = false;
};

}  // namespace mirvane::shell
