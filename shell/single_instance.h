// One Mirvane per user and graphical session: the first start holds a name for both, and a later
// start in the same session asks the first to show and activate its window, and ends.
#pragma once

#include <QLocalServer>
#include <QString>
#include <QStringView>
#include <functional>

namespace mirvane::shell {

// "Mirvane-1.0-" followed by `user` and, after a dash, `session` when it is not empty: one name
// per version, user and graphical session, so that each session of a user gets a window it sees.
QString SingleInstanceName(QStringView user, QStringView session);

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

// Claims `name` or hands over to its holder, passing on `activationToken` (the launcher's, may be
// empty) so that the holder may take the activation meant for this start. Runs before the
// application object exists, so a later start shows nothing and costs little. A holder that does
// not answer within kHandOverWaitMs still counts as handed over, as a frozen first start still
// accepts the connection.
InstanceCheck CheckSingleInstance(const QString& name, const QString& activationToken = {});

// Serves the claimed name for as long as it lives: a request from the same user runs
// `showWindow` with the token the later start passed on (empty when none) and is answered. Needs
// the application object.
class InstanceServer {
  public:
    using ShowWindow = std::function<void(const QString& activationToken)>;
    InstanceServer(const InstanceCheck& check, ShowWindow showWindow);
    InstanceServer(const InstanceServer&) = delete;
    InstanceServer& operator=(const InstanceServer&) = delete;

  private:
    void Accept();

    QLocalServer server_;
    ShowWindow showWindow_;
};

}  // namespace mirvane::shell
