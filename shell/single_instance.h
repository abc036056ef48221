// One Mirvane per user: the first start holds a per-user name, and a later start asks the first
// to show its window and ends.
#pragma once

#include <QLocalServer>
#include <QString>
#include <QStringView>
#include <functional>

namespace mirvane::shell {

// "Mirvane-1.0-" followed by `user`: one name per user and version.
QString SingleInstanceName(QStringView user);

// How long a later start waits for the first one, from the moment it finds the name taken.
inline constexpr int kHandOverWaitMs = 500;

enum class InstanceRole {
    First,        // the name is ours; serve it with an InstanceServer
    HandedOver,   // another start of ours holds it and was asked to show its window: end with 0
    Unprotected,  // the name cannot be had (no socket, or another user holds it): run anyway
};

struct InstanceCheck {
    InstanceRole role = InstanceRole::Unprotected;
    int descriptor = -1;  // with First: the listening socket, for the InstanceServer
};

// Claims `name` or hands over to its holder. Runs before the application object exists, so a
// later start shows nothing and costs little. A holder that does not answer within
// kHandOverWaitMs still counts as handed over, as a frozen first start still accepts the
// connection.
InstanceCheck CheckSingleInstance(const QString& name);

// Serves the claimed name for as long as it lives: a request from the same user runs
// `showWindow` and is answered. Needs the application object.
class InstanceServer {
  public:
    InstanceServer(const InstanceCheck& check, std::function<void()> showWindow);
    InstanceServer(const InstanceServer&) = delete;
    InstanceServer& operator=(const InstanceServer&) = delete;

  private:
    void Accept();

    QLocalServer server_;
    std::function<void()> showWindow_;
};

}  // namespace mirvane::shell
