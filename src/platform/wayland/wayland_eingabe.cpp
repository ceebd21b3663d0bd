#include "platform/wayland/wayland_eingabe.h"

#include "basis/protokoll.h"
#include "platform/linux/tastencodes.h"

namespace klebwerk::wayland {

void WaylandEingabe::taste(std::uint16_t code, std::uint64_t flaggen, std::optional<int> pid) {
    auto t = linuxdesk::tastenCode(code);
    if (!t) {
        protokoll("key " + std::to_string(code) + ": no such key code");
        return;
    }
    std::string fehler;
    if (pid) {
        auto vorn = fenster_.fokussiertes(fehler);
        if ((!vorn || vorn->pid != *pid) && !fenster_.aktivierePid(*pid, fehler))
            protokoll("key " + std::to_string(code) + " for process " + std::to_string(*pid) + ": " + fehler);
    }
    std::uint32_t mods = 0;
    if (flaggen & flagge::umschalt) mods |= VirtuelleTastatur::umschalt;
    // ⌘ and ⌃ both as Control: the platform's shortcuts (⌘V) are Control ones here.
    if (flaggen & (flagge::control | flagge::befehl)) mods |= VirtuelleTastatur::control;
    if (flaggen & flagge::option) mods |= VirtuelleTastatur::alt;
    if (!tastatur_.druecke(t->keysym, mods, fehler)) protokoll("key " + std::to_string(code) + ": " + fehler);
}

void WaylandEingabe::fehltNoch(const char* was) { protokoll(std::string(was) + " is not available on Wayland yet"); }

bool WaylandEingabe::zeigerBereit() {
    const std::string grund = zeiger_ ? zeiger_->stoerung() : "no virtual pointer";
    if (grund.empty()) return true;
    if (!mausGemeldet_.exchange(true))
        protokoll("synthetic mouse input is not available in this session: " + grund);
    return false;
}

void WaylandEingabe::maus(Maustaste taste, bool runter, Punkt wo) {
    if (!zeigerBereit()) return;
    std::string fehler;
    if (!zeiger_->bewege(wo, fehler) || !zeiger_->taste(taste == Maustaste::links, runter, fehler))
        protokoll("mouse " + std::string(runter ? "down" : "up") + ": " + fehler);
}

void WaylandEingabe::bewegeZeiger(Punkt wo) {
    if (!zeigerBereit()) return;
    std::string fehler;
    if (!zeiger_->bewege(wo, fehler)) protokoll("pointer move: " + fehler);
}

Punkt WaylandEingabe::zeiger() {
    if (abgriff_)
        if (auto wo = abgriff_->zeiger()) return *wo;
    if (!zeigerGemeldet_.exchange(true)) fehltNoch("the pointer position");
    return {};
}

double WaylandEingabe::zeigerRuhe() {
    if (!ruheGemeldet_.exchange(true)) fehltNoch("the pointer's rest");
    return 0;
}

std::string WaylandEingabe::zeichen(std::uint16_t code) {
    auto t = linuxdesk::tastenCode(code);
    return t ? tastatur_.zeichen(t->evdev) : std::string();
}

}  // namespace klebwerk::wayland
