#include "shell/tray_icon.h"

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QSystemTrayIcon>
#include <utility>

#include "localization/ui_text.h"
#include "platform/notification_area_presence.h"
#include "sheet/export_gate.h"

namespace mirvane::shell {
namespace {

class SystemArea final : public NotificationArea {
  public:
    bool AddIcon(const QIcon& icon, const QString& tip, QMenu& menu,
                 const Handlers& handlers) override {
        if (!Available()) {
            return false;
        }
        // Made only now: Qt picks the kind of area for good when its first icon is made.
        if (!icon_) {
            icon_ = std::make_unique<QSystemTrayIcon>();
        }
        icon_->setIcon(icon);
        icon_->setToolTip(tip);
        icon_->setContextMenu(&menu);
        QObject::disconnect(icon_.get(), &QSystemTrayIcon::activated, nullptr, nullptr);
        QObject::connect(icon_.get(), &QSystemTrayIcon::activated, icon_.get(),
                         [clicked = handlers.clicked](QSystemTrayIcon::ActivationReason reason) {
                             // The context menu is shown by the area itself.
                             if (reason == QSystemTrayIcon::Trigger && clicked) {
                                 clicked();
                             }
                         });
        icon_->show();
        return icon_->isVisible();
    }

    void RemoveIcon() override {
        if (icon_) {
            icon_->hide();
        }
    }

    // Until Qt has an icon it is not asked: it would settle on having no area.
    bool Available() override {
        return icon_ ? QSystemTrayIcon::isSystemTrayAvailable()
                     : platform::NotificationAreaPresent();
    }

    void WatchService(std::function<void()> appeared, std::function<void()> gone) override {
        watcher_ = std::make_unique<QDBusServiceWatcher>(
            platform::kStatusNotifierWatcher, QDBusConnection::sessionBus(),
            QDBusServiceWatcher::WatchForRegistration |
                QDBusServiceWatcher::WatchForUnregistration);
        QObject::connect(watcher_.get(), &QDBusServiceWatcher::serviceRegistered, watcher_.get(),
                         [appeared = std::move(appeared)] { appeared(); });
        QObject::connect(watcher_.get(), &QDBusServiceWatcher::serviceUnregistered, watcher_.get(),
                         [gone = std::move(gone)] { gone(); });
    }

  private:
    std::unique_ptr<QSystemTrayIcon> icon_;
    std::unique_ptr<QDBusServiceWatcher> watcher_;
};

}  // namespace

std::unique_ptr<NotificationArea> SystemNotificationArea() {
    return std::make_unique<SystemArea>();
}

TrayIcon::TrayIcon(std::unique_ptr<NotificationArea> area, QIcon icon,
                   std::function<void()> restore, std::function<void()> exit)
    : area_(std::move(area)),
      icon_(std::move(icon)),
      restore_(std::move(restore)),
      exit_(std::move(exit)),
      open_(menu_.addAction(QString())),
      exitItem_(menu_.addAction(QString())) {
    connect(open_, &QAction::triggered, this, [this] { Choose(TrayCommand::OpenWindow); });
    connect(exitItem_, &QAction::triggered, this, [this] { Choose(TrayCommand::Exit); });
    // Built afresh for every showing: the language or the busy state may have changed since.
    connect(&menu_, &QMenu::aboutToShow, this, [this] { RefreshMenu(); });
    RefreshMenu();
    area_->WatchService([this] { AreaRestarted(); }, [this] { AreaGone(); });
}

TrayIcon::~TrayIcon() {
    if (shown_) {
        area_->RemoveIcon();
    }
}

void TrayIcon::Add() {
    RefreshMenu();
    shown_ = area_->AddIcon(icon_, QString::fromLatin1(kTrayTip), menu_,
                            {.clicked = [this] { Choose(TrayCommand::OpenWindow); }});
}

void TrayIcon::Refresh() {
    if (shown_ && !area_->Available()) {
        AreaGone();
    } else if (!shown_) {
        Add();
    }
}

void TrayIcon::AreaRestarted() {
    shown_ = false;
    Add();
}

void TrayIcon::AreaGone() {
    if (shown_) {
        area_->RemoveIcon();
    }
    shown_ = false;
}

QMenu& TrayIcon::Menu() {
    RefreshMenu();
    return menu_;
}

void TrayIcon::Choose(TrayCommand command) {
    switch (command) {
        case TrayCommand::OpenWindow:
            restore_();
            break;
        case TrayCommand::Exit:
            exit_();
            break;
        case TrayCommand::None:
            break;
    }
}

void TrayIcon::RefreshMenu() {
    open_->setText(UiText(TextId::OpenAppText));
    exitItem_->setText(UiText(TextId::ExitText));
    exitItem_->setEnabled(!exportBusy);
}

}  // namespace mirvane::shell
