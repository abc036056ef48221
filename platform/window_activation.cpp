#include "platform/window_activation.h"

#include <xcb/xcb.h>

#include <QEvent>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "platform/wayland_activation.h"

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

bool OnWayland() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

Q_LOGGING_CATEGORY(activationLog, "mirvane.activation", QtWarningMsg)

// How long the compositor has to act on a token before the window is taken not to have the
// activation: its answer is one round trip, milliseconds even on a loaded machine.
constexpr int kTokenAnswerMs = 1000;

// Asks the compositor to activate `window` with `token`, now that its first frame is out, and
// calls `refused` when no window of the program is active a little later.
void SendToken(QWindow& window, const QString& token, const std::function<void()>& refused) {
    if (!ActivateWaylandWindow(window, token)) {
        window.requestActivate();
        return;
    }
    qCInfo(activationLog) << "asked the compositor to activate the window with the token";
    QTimer::singleShot(kTokenAnswerMs, &window, [refused] {
        if (QGuiApplication::focusWindow() != nullptr) {
            qCInfo(activationLog) << "the window took the activation";
            return;
        }
        qCInfo(activationLog) << "the window did not take the activation: the token was refused";
        if (refused) {
            refused();
        }
    });
}

// Activates its window with a token once the window's first frame is out: the compositor maps a
// surface only with a frame and ignores the activation of one it has not mapped.
class ActivationWhenShown : public QObject {
  public:
    static constexpr const char* kName = "mirvane-activation-when-shown";

    ActivationWhenShown(QWindow& window, const QString& token, std::function<void()> refused)
        : QObject(&window), token_(token), refused_(std::move(refused)) {
        setObjectName(QLatin1String(kName));
        window.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* window = static_cast<QWindow*>(watched);
        if (event->type() == QEvent::Expose && window->isExposed()) {
            window->removeEventFilter(this);
            // Queued: the expose paints and commits the first frame first.
            QMetaObject::invokeMethod(
                this,
                [this, window] {
                    SendToken(*window, token_, refused_);
                    deleteLater();
                },
                Qt::QueuedConnection);
        }
        return false;
    }

  private:
    QString token_;
    std::function<void()> refused_;
};

void ActivateOnWayland(QWindow& window, const QString& token, std::function<void()> refused) {
    // A later request replaces one still waiting.
    delete window.findChild<QObject*>(QLatin1String(ActivationWhenShown::kName),
                                      Qt::FindDirectChildrenOnly);
    if (window.isExposed()) {
        SendToken(window, token, refused);
    } else {
        new ActivationWhenShown(window, token, std::move(refused));
    }
}

}  // namespace

bool RestoreMapsAnew() {
    return OnWayland();
}

bool ActivatesWithToken(const QString& token) {
    return OnWayland() && !token.isEmpty() && WaylandActivationAvailable();
}

void ActivateFirstWindow(QWindow& window, const QString& token) {
    if (ActivatesWithToken(token)) {
        ActivateOnWayland(window, token, {});
    }
}

void ForgetLauncherActivationToken() {
    qunsetenv("XDG_ACTIVATION_TOKEN");
    qunsetenv("DESKTOP_STARTUP_ID");
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

void ActivateWindow(QWindow& window, const QString& token, std::function<void()> refused) {
    if (ActivatesWithToken(token)) {
        ActivateOnWayland(window, token, std::move(refused));
        return;
    }
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
