#include "platform/wayland/wayland_verbindung.h"

#include <cerrno>

#include <poll.h>
#include <wayland-client.h>

namespace klebwerk::wayland {

std::optional<std::string> oeffneVerbindung(const std::string& name, const wl_registry_listener& hoerer, void* daten,
                                            int runden, wl_display*& anzeige, wl_registry*& reg) {
    anzeige = wl_display_connect(name.empty() ? nullptr : name.c_str());
    if (!anzeige) return "no Wayland compositor to connect to";
    reg = wl_display_get_registry(anzeige);
    wl_registry_add_listener(reg, &hoerer, daten);
    for (int i = 0; i < runden; ++i)
        if (wl_display_roundtrip(anzeige) < 0) return "the Wayland connection failed";
    return std::nullopt;
}

void trenneVerbindung(wl_display*& anzeige, wl_registry*& reg) {
    if (reg) wl_registry_destroy(reg);
    reg = nullptr;
    if (!anzeige) return;
    wl_display_flush(anzeige);
    wl_display_disconnect(anzeige);
    anzeige = nullptr;
}

std::optional<std::string> tauscheAus(wl_display* anzeige) {
    if (wl_display_flush(anzeige) < 0 && errno != EAGAIN) return "the Wayland connection failed";
    if (wl_display_prepare_read(anzeige) == 0) {
        pollfd p{wl_display_get_fd(anzeige), POLLIN, 0};
        if (poll(&p, 1, 0) > 0)
            wl_display_read_events(anzeige);
        else
            wl_display_cancel_read(anzeige);
    }
    if (wl_display_dispatch_pending(anzeige) < 0) return "the compositor closed the connection";
    return std::nullopt;
}

bool tauscheAus(wl_display* anzeige, std::string& stoerung, std::string& fehler) {
    auto grund = tauscheAus(anzeige);
    if (!grund) return true;
    stoerung = *grund;
    fehler = stoerung;
    return false;
}

}  // namespace klebwerk::wayland
