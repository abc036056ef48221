#include "platform/desktop_session.h"

#include <QStringList>
#include <QtGlobal>

namespace mirvane::platform {

SessionEnvironment CurrentSessionEnvironment() {
    return {
        .sessionId = qEnvironmentVariable("XDG_SESSION_ID"),
        .waylandDisplay = qEnvironmentVariable("WAYLAND_DISPLAY"),
        .x11Display = qEnvironmentVariable("DISPLAY"),
        .qtPlatform = qEnvironmentVariable("QT_QPA_PLATFORM"),
        .activationToken = qEnvironmentVariable("XDG_ACTIVATION_TOKEN"),
        .startupId = qEnvironmentVariable("DESKTOP_STARTUP_ID"),
    };
}

QString GraphicalSessionName(const SessionEnvironment& environment) {
    if (!environment.sessionId.isEmpty()) {
        return environment.sessionId;
    }
    if (!environment.waylandDisplay.isEmpty()) {
        return environment.waylandDisplay;
    }
    QString display = environment.x11Display;
    const qsizetype colon = display.lastIndexOf(u':');
    const qsizetype dot = display.lastIndexOf(u'.');
    if (colon >= 0 && dot > colon) {
        display.truncate(dot);
    }
    return display;
}

bool HasDisplay(const SessionEnvironment& environment, const DisplayProbe& answers) {
    const auto usable = [&](DisplayServer server) {
        const QString& named =
            server == DisplayServer::X11 ? environment.x11Display : environment.waylandDisplay;
        return !named.isEmpty() && (!answers || answers(server));
    };
    if (environment.qtPlatform.isEmpty()) {
        return usable(DisplayServer::Wayland) || usable(DisplayServer::X11);
    }
    // A list such as "wayland;xcb" is tried in order; options follow a colon.
    for (const QString& entry : environment.qtPlatform.split(u';', Qt::SkipEmptyParts)) {
        const QString name = entry.section(u':', 0, 0);
        if (name == u"xcb"                ? usable(DisplayServer::X11)
            : name.startsWith(u"wayland") ? usable(DisplayServer::Wayland)
                                          : true) {
            return true;
        }
    }
    return false;
}

bool IsPlainToken(const QString& token) {
    if (token.isEmpty() || token.size() > kMaxActivationTokenLength) {
        return false;
    }
    for (const QChar c : token) {
        if (c.unicode() <= u' ' || c.unicode() > u'~') {
            return false;
        }
    }
    return true;
}

QString LauncherActivationToken(const SessionEnvironment& environment) {
    const QString& token =
        environment.activationToken.isEmpty() ? environment.startupId : environment.activationToken;
    return IsPlainToken(token) ? token : QString();
}

}  // namespace mirvane::platform
