#include "platform/wayland/virtueller_zeiger.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>

#include <linux/input-event-codes.h>
#include <wayland-client.h>

#include "platform/wayland/wayland_ausgaben.h"
#include "platform/wayland/wayland_verbindung.h"
#include "wlr-virtual-pointer-unstable-v1-client.h"

namespace klebwerk::wayland {

struct VirtuellerZeiger::Zustand {
    wl_display* anzeige = nullptr;
    wl_registry* register_ = nullptr;
    wl_seat* sitz = nullptr;
    zwlr_virtual_pointer_manager_v1* verwalter = nullptr;
    zwlr_virtual_pointer_v1* zeiger = nullptr;
    std::unique_ptr<WaylandAusgaben> ausgaben = std::make_unique<WaylandAusgaben>();
    std::string stoerung;
};

namespace {

// Positions go to the compositor in hundredths of a point, so that fractions survive.
constexpr double teilung = 100;

void globalNeu(void* daten, wl_registry* reg, std::uint32_t name, const char* schnittstelle, std::uint32_t version) {
    auto* z = static_cast<VirtuellerZeiger::Zustand*>(daten);
    if (z->ausgaben->globalNeu(reg, name, schnittstelle, version)) return;
    if (!z->sitz && std::strcmp(schnittstelle, wl_seat_interface.name) == 0)
        z->sitz = static_cast<wl_seat*>(wl_registry_bind(reg, name, &wl_seat_interface, 1));
    else if (std::strcmp(schnittstelle, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        z->verwalter = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(reg, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
}
void globalWeg(void* daten, wl_registry*, std::uint32_t name) {
    static_cast<VirtuellerZeiger::Zustand*>(daten)->ausgaben->globalWeg(name);
}
const wl_registry_listener registerHoerer{globalNeu, globalWeg};

std::uint32_t millisekunden() {
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
}

}  // namespace

VirtuellerZeiger::VirtuellerZeiger(const std::string& anzeige) : z_(std::make_unique<Zustand>()) {
    Zustand& z = *z_;
    // The globals, then the outputs' places.
    if (auto fehler = oeffneVerbindung(anzeige, registerHoerer, &z, 2, z.anzeige, z.register_)) {
        z.stoerung = *fehler;
        return;
    }
    if (!z.verwalter) {
        z.stoerung = "the compositor offers no virtual pointer (zwlr_virtual_pointer_manager_v1)";
        return;
    }
    if (!z.ausgaben->kenntLagen()) {
        z.stoerung = "the compositor tells no output's place (zxdg_output_manager_v1)";
        return;
    }
    z.zeiger = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(z.verwalter, z.sitz);
    if (wl_display_roundtrip(z.anzeige) < 0) z.stoerung = "the compositor refused the virtual pointer";
}

VirtuellerZeiger::~VirtuellerZeiger() {
    Zustand& z = *z_;
    if (z.zeiger) zwlr_virtual_pointer_v1_destroy(z.zeiger);
    if (z.verwalter) wl_proxy_destroy(reinterpret_cast<wl_proxy*>(z.verwalter));
    if (z.sitz) wl_seat_destroy(z.sitz);
    if (z.anzeige) {
        // The outputs' proxies go before their connection.
        z.ausgaben.reset();
        trenneVerbindung(z.anzeige, z.register_);
    }
}

std::string VirtuellerZeiger::stoerung() const {
    std::lock_guard lock(sperre_);
    return z_->stoerung;
}

bool VirtuellerZeiger::bewege(Punkt wo, std::string& fehler) {
    std::lock_guard lock(sperre_);
    Zustand& z = *z_;
    if (!z.stoerung.empty()) {
        fehler = z.stoerung;
        return false;
    }
    const Rechteck umfang = z.ausgaben->umfang();
    if (umfang.breite <= 0 || umfang.hoehe <= 0) {
        fehler = "no output's place is known";
        return false;
    }
    auto auf = [](double wert, double anfang, double laenge) {
        return static_cast<std::uint32_t>(std::lround(std::clamp(wert - anfang, 0.0, laenge) * teilung));
    };
    zwlr_virtual_pointer_v1_motion_absolute(z.zeiger, millisekunden(), auf(wo.x, umfang.x, umfang.breite),
                                            auf(wo.y, umfang.y, umfang.hoehe),
                                            static_cast<std::uint32_t>(std::lround(umfang.breite * teilung)),
                                            static_cast<std::uint32_t>(std::lround(umfang.hoehe * teilung)));
    zwlr_virtual_pointer_v1_frame(z.zeiger);
    return schicke(fehler);
}

bool VirtuellerZeiger::taste(bool links, bool runter, std::string& fehler) {
    std::lock_guard lock(sperre_);
    Zustand& z = *z_;
    if (!z.stoerung.empty()) {
        fehler = z.stoerung;
        return false;
    }
    zwlr_virtual_pointer_v1_button(z.zeiger, millisekunden(), links ? BTN_LEFT : BTN_RIGHT,
                                   runter ? WL_POINTER_BUTTON_STATE_PRESSED : WL_POINTER_BUTTON_STATE_RELEASED);
    zwlr_virtual_pointer_v1_frame(z.zeiger);
    return schicke(fehler);
}

// Sends what is queued and takes in what the compositor sent meanwhile (changed
// outputs; a protocol error ends the connection), without waiting.
bool VirtuellerZeiger::schicke(std::string& fehler) {
    Zustand& z = *z_;
    return tauscheAus(z.anzeige, z.stoerung, fehler);
}

}  // namespace klebwerk::wayland
