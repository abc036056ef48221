#include "platform/display_probe.h"

#include <wayland-client.h>
#include <xcb/xcb.h>

namespace mirvane::platform {

bool DisplayAnswers(DisplayServer server, const SessionEnvironment& environment) {
    if (server == DisplayServer::X11) {
        xcb_connection_t* connection =
            xcb_connect(environment.x11Display.toLocal8Bit().constData(), nullptr);
        const bool answers = xcb_connection_has_error(connection) == 0;
        xcb_disconnect(connection);  // also for a failed connection, which is an object too
        return answers;
    }
    wl_display* display = wl_display_connect(environment.waylandDisplay.toLocal8Bit().constData());
    if (display == nullptr) {
        return false;
    }
    wl_display_disconnect(display);
    return true;
}

}  // namespace mirvane::platform
