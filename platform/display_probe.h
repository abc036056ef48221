// Whether a display server named in the environment answers: Qt aborts, leaving a core file,
// when none of those it tries does.
#pragma once

#include "platform/desktop_session.h"

namespace mirvane::platform {

// Connects to the display `environment` names for `server`, and closes the connection again.
bool DisplayAnswers(DisplayServer server, const SessionEnvironment& environment);

}  // namespace mirvane::platform
