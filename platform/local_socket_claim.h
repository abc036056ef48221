// Holding a name in the abstract namespace of local sockets: the stand-in for a named mutex.
// The kernel frees such a name when its holder ends, however it ends, so nothing goes stale.
#pragma once

#include <QString>

namespace mirvane::platform {

enum class ClaimOutcome {
    Claimed,  // the name is ours: `descriptor` listens on it
    Taken,    // another socket holds the name
    Failed,   // no socket could be made; nothing is known about the name
};

struct LocalSocketClaim {
    ClaimOutcome outcome = ClaimOutcome::Failed;
    int descriptor = -1;  // a listening stream socket, close-on-exec; only with Claimed
};

// Binds a new listening stream socket to `name` in the abstract namespace. Needs no
// application object, so it can run before anything else of the program starts.
LocalSocketClaim ClaimLocalSocketName(const QString& name);

// Closes a descriptor of ClaimLocalSocketName that was not handed on; nothing for -1.
void CloseLocalSocket(int descriptor);

// True when the process at the other end of the connected local socket `descriptor` runs as the
// same user as this one. The abstract namespace is shared by every user of the machine, so
// both ends check who they talk to.
bool PeerIsSameUser(int descriptor);

}  // namespace mirvane::platform
