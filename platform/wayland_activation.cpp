#include "platform/wayland_activation.h"

#include <qpa/qplatformnativeinterface.h>
#include <wayland-client.h>

#include <QGuiApplication>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "xdg-activation-v1-client-protocol.h"

namespace mirvane::platform {
namespace {

struct Activation {
    wl_display* display = nullptr;
    wl_event_queue* queue = nullptr;  // the global's, kept while it lives
    xdg_activation_v1* global = nullptr;
};

void OnGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
              std::uint32_t) {
    auto* global = static_cast<xdg_activation_v1**>(data);
    if (*global == nullptr && std::strcmp(interface, xdg_activation_v1_interface.name) == 0) {
        *global = static_cast<xdg_activation_v1*>(
            wl_registry_bind(registry, name, &xdg_activation_v1_interface, 1));
    }
}

void OnGlobalRemove(void*, wl_registry*, std::uint32_t) {}

constexpr wl_registry_listener kRegistryListener{OnGlobal, OnGlobalRemove};

wl_display* QtDisplay() {
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        return nullptr;
    }
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    return native != nullptr
               ? static_cast<wl_display*>(native->nativeResourceForIntegration("wl_display"))
               : nullptr;
}

// Looks for the global once per process. The registry lives on a queue of our own: a roundtrip
// on Qt's queue would run Qt's event handlers from here, out of their turn. The global sends no
// events, so nothing waits on that queue afterwards.
Activation Bind() {
    Activation activation{.display = QtDisplay()};
    if (activation.display == nullptr) {
        return activation;
    }
    activation.queue = wl_display_create_queue(activation.display);
    if (activation.queue == nullptr) {
        return {};
    }
    wl_registry* registry = nullptr;
    if (auto* display = static_cast<wl_display*>(wl_proxy_create_wrapper(activation.display))) {
        wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(display), activation.queue);
        registry = wl_display_get_registry(display);
        wl_proxy_wrapper_destroy(display);
    }
    if (registry != nullptr) {
        wl_registry_add_listener(registry, &kRegistryListener, &activation.global);
        const bool answered = wl_display_roundtrip_queue(activation.display, activation.queue) >= 0;
        if (!answered && activation.global != nullptr) {
            xdg_activation_v1_destroy(activation.global);
            activation.global = nullptr;
        }
        wl_registry_destroy(registry);
    }
    if (activation.global == nullptr) {
        wl_event_queue_destroy(activation.queue);
        return {};
    }
    return activation;
}

const Activation& Bound() {
    static const Activation activation = Bind();
    return activation;
}

}  // namespace

bool WaylandActivationAvailable() {
    return Bound().global != nullptr;
}

bool ActivateWaylandWindow(QWindow& window, const QString& token) {
    const Activation& activation = Bound();
    if (token.isEmpty() || activation.global == nullptr) {
        return false;
    }
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    auto* surface = static_cast<wl_surface*>(native->nativeResourceForWindow("surface", &window));
    if (surface == nullptr) {
        return false;
    }
    xdg_activation_v1_activate(activation.global, token.toUtf8().constData(), surface);
    // A full buffer (EAGAIN) goes out with Qt's next flush.
    return wl_display_flush(activation.display) >= 0 || errno == EAGAIN;
}

}  // namespace mirvane::platform
