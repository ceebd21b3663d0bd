#include "platform/wayland/wayland_ausgaben.h"

#include <algorithm>
#include <cstring>

#include <wayland-client.h>

#include "xdg-output-unstable-v1-client.h"

namespace klebwerk::wayland {

namespace {

using Ausgabe = WaylandAusgaben::Ausgabe;

void xdgLage(void* daten, zxdg_output_v1*, std::int32_t x, std::int32_t y) {
    auto* a = static_cast<Ausgabe*>(daten);
    a->lage.x = x;
    a->lage.y = y;
    a->lageBekannt = true;
}
void xdgGroesse(void* daten, zxdg_output_v1*, std::int32_t breite, std::int32_t hoehe) {
    auto* a = static_cast<Ausgabe*>(daten);
    a->lage.breite = breite;
    a->lage.hoehe = hoehe;
}
void xdgFertig(void*, zxdg_output_v1*) {}
void xdgName(void*, zxdg_output_v1*, const char*) {}
void xdgBeschreibung(void*, zxdg_output_v1*, const char*) {}
const zxdg_output_v1_listener xdgHoerer{xdgLage, xdgGroesse, xdgFertig, xdgName, xdgBeschreibung};

}  // namespace

WaylandAusgaben::~WaylandAusgaben() {
    for (auto& a : ausgaben_) {
        if (a->xdg) zxdg_output_v1_destroy(a->xdg);
        wl_output_destroy(a->ausgabe);
    }
    if (manager_) zxdg_output_manager_v1_destroy(manager_);
}

bool WaylandAusgaben::globalNeu(wl_registry* reg, std::uint32_t name, const char* schnittstelle, std::uint32_t version) {
    if (std::strcmp(schnittstelle, wl_output_interface.name) == 0) {
        auto a = std::make_unique<Ausgabe>();
        a->name = name;
        a->ausgabe = static_cast<wl_output*>(wl_registry_bind(reg, name, &wl_output_interface, 1));
        ausgaben_.push_back(std::move(a));
        frageLagen();
        return true;
    }
    if (std::strcmp(schnittstelle, zxdg_output_manager_v1_interface.name) == 0) {
        manager_ = static_cast<zxdg_output_manager_v1*>(
            wl_registry_bind(reg, name, &zxdg_output_manager_v1_interface, std::min(version, 2u)));
        frageLagen();
        return true;
    }
    return false;
}

std::unique_ptr<Ausgabe> WaylandAusgaben::globalWeg(std::uint32_t name) {
    auto it = std::find_if(ausgaben_.begin(), ausgaben_.end(), [&](const auto& a) { return a->name == name; });
    if (it == ausgaben_.end()) return nullptr;
    auto a = std::move(*it);
    ausgaben_.erase(it);
    if (a->xdg) zxdg_output_v1_destroy(a->xdg);
    a->xdg = nullptr;
    wl_output_destroy(a->ausgabe);
    a->ausgabe = nullptr;
    return a;
}

void WaylandAusgaben::frageLagen() {
    if (!manager_) return;
    for (auto& a : ausgaben_) {
        if (a->xdg) continue;
        a->xdg = zxdg_output_manager_v1_get_xdg_output(manager_, a->ausgabe);
        zxdg_output_v1_add_listener(a->xdg, &xdgHoerer, a.get());
    }
}

Rechteck WaylandAusgaben::umfang() const {
    bool erste = true;
    double links = 0, oben = 0, rechts = 0, unten = 0;
    for (const auto& a : ausgaben_) {
        if (!a->lageBekannt || a->lage.breite <= 0 || a->lage.hoehe <= 0) continue;
        const Rechteck& r = a->lage;
        links = erste ? r.x : std::min(links, r.x);
        oben = erste ? r.y : std::min(oben, r.y);
        rechts = erste ? r.x + r.breite : std::max(rechts, r.x + r.breite);
        unten = erste ? r.y + r.hoehe : std::max(unten, r.y + r.hoehe);
        erste = false;
    }
    return {links, oben, rechts - links, unten - oben};
}

Rechteck WaylandAusgaben::lage(const wl_output* ausgabe) const {
    for (const auto& a : ausgaben_)
        if (a->ausgabe == ausgabe) return a->lage;
    return {};
}

}  // namespace klebwerk::wayland
