// Who runs the program, as far as per-user names of the desktop session are concerned.
#pragma once

#include <QString>

namespace mirvane::platform {

// The numeric id of the user running the process, in decimal.
QString UserIdentity();

}  // namespace mirvane::platform
