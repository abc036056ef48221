#include "platform/local_socket_claim.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstring>

namespace mirvane::platform {

LocalSocketClaim ClaimLocalSocketName(const QString& name) {
    const QByteArray bytes = name.toUtf8();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    // The leading NUL puts the name in the abstract namespace; it is not NUL-terminated.
    if (bytes.isEmpty() || static_cast<std::size_t>(bytes.size()) > sizeof(address.sun_path) - 1) {
        return {};
    }
    std::memcpy(address.sun_path + 1, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + bytes.size());

    const int descriptor = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (descriptor < 0) {
        return {};
    }
    if (::bind(descriptor, reinterpret_cast<const sockaddr*>(&address), length) != 0) {
        const bool taken = errno == EADDRINUSE;
        ::close(descriptor);
        return {taken ? ClaimOutcome::Taken : ClaimOutcome::Failed, -1};
    }
    if (::listen(descriptor, SOMAXCONN) != 0) {
        ::close(descriptor);
        return {};
    }
    return {ClaimOutcome::Claimed, descriptor};
}

void CloseLocalSocket(int descriptor) {
    if (descriptor >= 0) {
        ::close(descriptor);
    }
}

bool PeerIsSameUser(int descriptor) {
    ucred credentials{};
    socklen_t size = sizeof(credentials);
    if (::getsockopt(descriptor, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0 ||
        size != sizeof(credentials)) {
        return false;
    }
    return credentials.uid == ::getuid();
}

}  // namespace mirvane::platform
