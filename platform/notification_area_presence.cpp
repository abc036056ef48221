#include "platform/notification_area_presence.h"

#include <xcb/xcb.h>

#include <QByteArray>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QGuiApplication>
#include <cstdint>
#include <cstdlib>

namespace mirvane::platform {
namespace {

// A panel answers at once; a hung one must not hold the close box up.
constexpr int kWatcherAnswerMs = 500;

bool StatusNotifierHostRegistered() {
    const QString watcher = QString::fromLatin1(kStatusNotifierWatcher);
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QDBusConnectionInterface* names = bus.isConnected() ? bus.interface() : nullptr;
    if (names == nullptr || !names->isServiceRegistered(watcher)) {
        return false;
    }
    QDBusMessage ask = QDBusMessage::createMethodCall(
        watcher, QStringLiteral("/StatusNotifierWatcher"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    ask << watcher << QStringLiteral("IsStatusNotifierHostRegistered");
    const QDBusMessage answer = bus.call(ask, QDBus::Block, kWatcherAnswerMs);
    return answer.type() == QDBusMessage::ReplyMessage && !answer.arguments().isEmpty() &&
           answer.arguments().constFirst().value<QDBusVariant>().variant().toBool();
}

bool SelectionOwned(xcb_connection_t* connection, const QByteArray& name) {
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 1, static_cast<std::uint16_t>(name.size()), name.constData()),
        nullptr);
    if (atom == nullptr || atom->atom == XCB_ATOM_NONE) {
        std::free(atom);
        return false;  // never made: nothing has ever asked for it
    }
    xcb_get_selection_owner_reply_t* owner = xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, atom->atom), nullptr);
    const bool owned = owner != nullptr && owner->owner != XCB_WINDOW_NONE;
    std::free(owner);
    std::free(atom);
    return owned;
}

bool XEmbedTrayOwned() {
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                                   : nullptr;
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr) {
        return false;
    }
    // The tray of any screen of the display: the program's is one of them.
    const int screens = xcb_setup_roots_length(xcb_get_setup(connection));
    for (int screen = 0; screen < screens; ++screen) {
        if (SelectionOwned(connection, "_NET_SYSTEM_TRAY_S" + QByteArray::number(screen))) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool NotificationAreaPresent() {
    return StatusNotifierHostRegistered() || XEmbedTrayOwned();
}

}  // namespace mirvane::platform
