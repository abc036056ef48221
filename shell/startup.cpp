#include "shell/startup.h"

#include <QApplication>
#include <QScreen>
#include <cstdio>
#include <memory>

#include "export/exports_folder.h"
#include "localization/ui_language.h"
#include "platform/desktop_session.h"
#include "platform/display_probe.h"
#include "platform/threads.h"
#include "platform/user_identity.h"
#include "platform/window_activation.h"
#include "render/fonts.h"
#include "sheet/current_sheet.h"
#include "shell/app_icon.h"
#include "shell/main_window.h"
#include "shell/program_palette.h"
#include "shell/single_instance.h"
#include "shell/ui_scale.h"

namespace mirvane::shell {

int RunMirvane(int& argc, char** argv, const StartupOptions& options) {
    // First, so that everything after speaks the user's language.
    SelectUiLanguage();

    // Qt would abort without a display; say where to go instead.
    const platform::SessionEnvironment session = platform::CurrentSessionEnvironment();
    if (!platform::HasDisplay(session)) {
        std::fputs(
            "mirvane: no display to show the window on (DISPLAY and WAYLAND_DISPLAY are unset); "
            "mirvane-sheet makes contact sheets without a window\n",
            stderr);
        return kExitNoMainWindow;
    }

    // Before the application object: a second start hands over without touching the display.
    const QString name =
        options.instanceName.isEmpty()
            ? SingleInstanceName(platform::UserIdentity(), platform::GraphicalSessionName(session))
            : options.instanceName;
    const InstanceCheck instance =
        CheckSingleInstance(name, platform::LauncherActivationToken(session));
    if (instance.role == InstanceRole::HandedOver) {
        return kExitNormal;
    }
    if (!platform::HasDisplay(session, [&session](platform::DisplayServer server) {
            return platform::DisplayAnswers(server, session);
        })) {
        std::fprintf(stderr,
                     "mirvane: the display does not answer (DISPLAY=%s, WAYLAND_DISPLAY=%s); "
                     "mirvane-sheet makes contact sheets without a window\n",
                     qUtf8Printable(session.x11Display), qUtf8Printable(session.waylandDisplay));
        return kExitNoMainWindow;
    }

    // Before the application object, which would wait at exit for a pool thread that never ran.
    if (!platform::StartImageThreads()) {
        return kExitNoImageThreads;
    }
    QApplication application(argc, argv);
    platform::ForgetLauncherActivationToken();
    QApplication::setApplicationName(QStringLiteral("Mirvane"));
    QApplication::setApplicationVersion(QStringLiteral("1.0.0"));
    // The desktop finds the launcher, and with it the icon in its task switcher, by this name.
    QApplication::setDesktopFileName(QString::fromLatin1(kApplicationId));
    QApplication::setWindowIcon(ApplicationIcon());
    // The desktop's colour scheme would show through every control otherwise.
    QApplication::setPalette(ProgramPalette());
    // Closing the window hides it; only Exit ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    if (!RegisterFonts()) {
        return kExitNoFonts;
    }
    InitializeExportsFolder();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        uiScale = static_cast<float>(screen->devicePixelRatio());
    }

    // exit() rather than quit(): quit() first asks the windows to close, and closing only hides.
    auto window = std::make_unique<MainWindow>([] { QCoreApplication::exit(kExitNormal); });
    // Making the platform window is where the display can refuse it.
    window->winId();
    if (window->windowHandle() == nullptr) {
        return kExitNoMainWindow;
    }
    const InstanceServer server(instance, [&window](const QString& activationToken) {
        if (window) {
            window->Restore(activationToken);
        }
    });
    window->show();
    platform::ActivateFirstWindow(*window->windowHandle(),
                                  platform::LauncherActivationToken(session));
    if (options.windowShown) {
        options.windowShown(*window);
    }
    QApplication::exec();

    // The window and every decoded photograph go while the application object still lives.
    window.reset();
    ReleaseCurrentSheetFrames();
    return kExitNormal;
}

}  // namespace mirvane::shell
