#include "shell/single_instance.h"

#include <QDeadlineTimer>
#include <QLocalSocket>
#include <utility>

#include "platform/local_socket_claim.h"

namespace mirvane::shell {
namespace {

constexpr char kShowRequest[] = "show\n";
constexpr char kShownAnswer[] = "shown\n";
constexpr qint64 kMaxRequestLength = 64;

enum class HandOver { Asked, NoHolder, ForeignHolder };

HandOver AskHolderToShow(const QString& name, QDeadlineTimer deadline) {
    QLocalSocket socket;
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    socket.connectToServer(name);
    if (!socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) {
        return HandOver::NoHolder;
    }
    if (!platform::PeerIsSameUser(static_cast<int>(socket.socketDescriptor()))) {
        return HandOver::ForeignHolder;
    }
    socket.write(kShowRequest);
    // The answer only tells that the request arrived; a silent holder is not waited on longer.
    if (socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) {
        socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()));
    }
    return HandOver::Asked;
}

}  // namespace

QString SingleInstanceName(QStringView user) {
    return QStringLiteral("Mirvane-1.0-") + user.toString();
}

InstanceCheck CheckSingleInstance(const QString& name) {
    const QDeadlineTimer deadline(kHandOverWaitMs);
    // Twice: a holder that ended between our claim and our connection leaves the name free.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const platform::LocalSocketClaim claim = platform::ClaimLocalSocketName(name);
        switch (claim.outcome) {
            case platform::ClaimOutcome::Claimed:
                return {InstanceRole::First, claim.descriptor};
            case platform::ClaimOutcome::Failed:
                return {InstanceRole::Unprotected, -1};
            case platform::ClaimOutcome::Taken:
                break;
        }
        switch (AskHolderToShow(name, deadline)) {
            case HandOver::Asked:
                return {InstanceRole::HandedOver, -1};
            case HandOver::ForeignHolder:
                // Someone else's program sits on our name; refusing to start would let any user
                // of the machine keep Mirvane from running.
                return {InstanceRole::Unprotected, -1};
            case HandOver::NoHolder:
                break;
        }
    }
    // The name is held but nobody answers on it: like a first start still coming up.
    return {InstanceRole::HandedOver, -1};
}

InstanceServer::InstanceServer(const InstanceCheck& check, std::function<void()> showWindow)
    : showWindow_(std::move(showWindow)) {
    if (check.role != InstanceRole::First) {
        return;
    }
    QObject::connect(&server_, &QLocalServer::newConnection, &server_, [this] { Accept(); });
    // Should Qt refuse the socket, the name stays held all the same; later starts then get no
    // answer and end, as they would with a first start that is still coming up.
    server_.listen(check.descriptor);
}

void InstanceServer::Accept() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (!platform::PeerIsSameUser(static_cast<int>(socket->socketDescriptor()))) {
            socket->abort();
            continue;
        }
        const auto answer = [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > kMaxRequestLength) {
                    socket->abort();
                }
                return;
            }
            const QByteArray request = socket->readLine(kMaxRequestLength);
            if (request == kShowRequest && showWindow_) {
                showWindow_();
                socket->write(kShownAnswer);
            }
            socket->disconnectFromServer();
        };
        QObject::connect(socket, &QLocalSocket::readyRead, socket, answer);
        answer();
    }
}

}  // namespace mirvane::shell
