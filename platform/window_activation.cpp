#include "platform/window_activation.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace mirvane::platform {
namespace {

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

xcb_window_t RootOf(xcb_connection_t* connection, xcb_window_t window) {
    xcb_get_geometry_reply_t* reply =
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr);
    const xcb_window_t root = reply != nullptr ? reply->root : xcb_window_t{XCB_WINDOW_NONE};
    std::free(reply);
    return root;
}

// Asks the window manager to activate `window` on behalf of the launch at `time`.
void SendActiveWindowRequest(xcb_connection_t* connection, xcb_window_t root, xcb_window_t window,
                             std::uint32_t time) {
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = Atom(connection, "_NET_ACTIVE_WINDOW");
    event.data.data32[0] = 1;  // from an application
    event.data.data32[1] = time;
    xcb_send_event(connection, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
}

// Startup notification travels in 20-byte pieces: the first marked BEGIN, the rest plain.
void SendStartupMessage(xcb_connection_t* connection, xcb_window_t root,
                        const QByteArray& message) {
    const xcb_atom_t begin = Atom(connection, "_NET_STARTUP_INFO_BEGIN");
    const xcb_atom_t more = Atom(connection, "_NET_STARTUP_INFO");
    constexpr qsizetype kPiece = 20;
    for (qsizetype offset = 0; offset < message.size(); offset += kPiece) {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 8;
        event.window = root;
        event.type = offset == 0 ? begin : more;
        const qsizetype length = std::min(kPiece, message.size() - offset);
        std::memcpy(event.data.data8, message.constData() + offset,
                    static_cast<std::size_t>(length));
        xcb_send_event(connection, 0, root, XCB_EVENT_MASK_PROPERTY_CHANGE,
                       reinterpret_cast<const char*>(&event));
    }
}

}  // namespace

bool RestoreMapsAnew() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

std::uint32_t StartupIdTime(const QString& startupId) {
    const qsizetype at = startupId.lastIndexOf(QLatin1String("_TIME"));
    if (at < 0) {
        return 0;
    }
    bool ok = false;
    const qulonglong time = startupId.mid(at + 5).toULongLong(&ok);
    return ok && time <= 0xffffffffu ? static_cast<std::uint32_t>(time) : 0;
}

QByteArray StartupRemoveMessage(const QString& startupId) {
    QByteArray id = startupId.toUtf8();
    id.replace('\\', "\\\\").replace('"', "\\\"");
    return "remove: ID=\"" + id + "\"" + QByteArray(1, '\0');
}

void ActivateWindow(QWindow& window, const QString& token) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (token.isEmpty() || x11 == nullptr || x11->connection() == nullptr) {
        window.requestActivate();
        return;
    }
    xcb_connection_t* connection = x11->connection();
    const auto id = static_cast<xcb_window_t>(window.winId());
    const xcb_window_t root = RootOf(connection, id);
    if (root == XCB_WINDOW_NONE) {
        window.requestActivate();
        return;
    }
    // A window that is only now being mapped is activated by Qt once it shows; the window
    // manager would drop a request for a window it does not manage yet.
    const std::uint32_t time = StartupIdTime(token);
    if (time != 0 && window.isExposed()) {
        SendActiveWindowRequest(connection, root, id, time);
    } else {
        window.requestActivate();
    }
    SendStartupMessage(connection, root, StartupRemoveMessage(token));
    xcb_flush(connection);
}

}  // namespace mirvane::platform
