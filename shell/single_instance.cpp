#include "shell/single_instance.h"

#include <QDeadlineTimer>
#include <QLocalSocket>
#include <optional>
#include <utility>

#include "platform/desktop_session.h"
#include "platform/local_socket_claim.h"

namespace mirvane::shell {
namespace {

// "show", then a space and the activation token when there is one, then a newline.
constexpr char kShowRequest[] = "show";
constexpr char kShownAnswer[] = "shown\n";
constexpr qint64 kMaxRequestLength = 8 + platform::kMaxActivationTokenLength;

QByteArray ShowRequest(const QString& token) {
    QByteArray request = kShowRequest;
    if (platform::IsPlainToken(token)) {
        request += ' ' + token.toLatin1();
    }
    return request + '\n';
}

// The token of a show request, or nothing when `line` is not one.
std::optional<QString> ParseShowRequest(QByteArray line) {
    if (!line.endsWith('\n')) {
        return std::nullopt;
    }
    line.chop(1);
    if (line == kShowRequest) {
        return QString();
    }
    if (!line.startsWith(QByteArray(kShowRequest) + ' ')) {
        return std::nullopt;
    }
    const QString token = QString::fromLatin1(line.mid(sizeof(kShowRequest)));
    return platform::IsPlainToken(token) ? std::optional(token) : std::nullopt;
}

enum class HandOver { Asked, NoHolder, ForeignHolder };

HandOver AskHolderToShow(const QString& name, const QString& token, QDeadlineTimer deadline) {
    QLocalSocket socket;
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    socket.connectToServer(name);
    if (!socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) {
        return HandOver::NoHolder;
    }
    if (!platform::PeerIsSameUser(static_cast<int>(socket.socketDescriptor()))) {
        return HandOver::ForeignHolder;
    }
    socket.write(ShowRequest(token));
    // The answer only tells that the request arrived; a silent holder is not waited on longer.
    if (socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) {
        socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()));
    }
    return HandOver::Asked;
}

}  // namespace

QString SingleInstanceName(QStringView user, QStringView session) {
    QString name = QStringLiteral("Mirvane-1.0-") + user.toString();
    if (!session.isEmpty()) {
        name += u'-' + session.toString();
    }
    return name;
}

InstanceCheck CheckSingleInstance(const QString& name, const QString& activationToken) {
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
        switch (AskHolderToShow(name, activationToken, deadline)) {
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

InstanceServer::InstanceServer(const InstanceCheck& check, ShowWindow showWindow)
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
            const std::optional<QString> token =
                ParseShowRequest(socket->readLine(kMaxRequestLength));
            if (token && showWindow_) {
                showWindow_(*token);
                socket->write(kShownAnswer);
            }
            socket->disconnectFromServer();
        };
        QObject::connect(socket, &QLocalSocket::readyRead, socket, answer);
        answer();
    }
}

}  // namespace mirvane::shell
