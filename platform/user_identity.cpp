#include "platform/user_identity.h"

#include <unistd.h>

namespace mirvane::platform {

QString UserIdentity() {
    return QString::number(::getuid());
}

}  // namespace mirvane::platform
