// The notification-area icon that brings the hidden window back, with its two-item menu.
#pragma once

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

namespace mirvane::shell {

inline constexpr char kTrayTip[] = "Mirvane";

// What the desktop's notification area offers. The real one is QSystemTrayIcon; tests put in
// one that stands in for an area that is there or not.
class NotificationArea {
  public:
    // What the user did with the icon.
    struct Handlers {
        std::function<void()> clicked;  // a click, or the keyboard's choice of the icon
    };

    virtual ~NotificationArea() = default;

    // Puts the icon into the area; false when there is no area to hold it.
    virtual bool AddIcon(const QIcon& icon, const QString& tip, QMenu& menu,
                         const Handlers& handlers) = 0;
    virtual void RemoveIcon() = 0;
    // Whether an area is there now, asked afresh: it may have gone before word of it arrived.
    virtual bool Available() = 0;

    // From then on, `appeared` runs whenever the area's service appears anew (a panel started or
    // restarted), `gone` whenever it goes away.
    virtual void WatchService(std::function<void()> appeared, std::function<void()> gone) = 0;
};

// The desktop's own notification area, where one exists.
std::unique_ptr<NotificationArea> SystemNotificationArea();

enum class TrayCommand { None = 0, OpenWindow = 1, Exit = 2 };

class TrayIcon : public QObject {
  public:
    // `restore` shows the window in front; `exit` is the Exit command, which itself refuses to
    // end the program while an export runs.
    TrayIcon(std::unique_ptr<NotificationArea> area, QIcon icon, std::function<void()> restore,
             std::function<void()> exit);
    ~TrayIcon() override;

    // Adds the icon; Shown() says whether the area took it.
    void Add();
    bool Shown() const { return shown_; }
    // Before the icon is relied on: drops an icon whose area has gone, and adds one to an area
    // that has appeared, whether or not word of the change has arrived yet.
    void Refresh();

    // The area's service came back (a panel restarted): the icon is added again.
    void AreaRestarted();
    // The area went away with its icon: until it is back, hiding cannot use it.
    void AreaGone();

    // The menu as it is about to show: "Open" and "Exit" in the current language, Exit greyed
    // while an export runs.
    QMenu& Menu();

    // What choosing a menu item does.
    void Choose(TrayCommand command);

  private:
    void RefreshMenu();

    std::unique_ptr<NotificationArea> area_;
    QIcon icon_;
    std::function<void()> restore_;
    std::function<void()> exit_;
    QMenu menu_;
    QAction* open_;
    QAction* exitItem_;
    bool shown_ = false;
};

}  // namespace mirvane::shell
