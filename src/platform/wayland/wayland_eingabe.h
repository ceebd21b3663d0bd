#pragma once

#include <atomic>

#include "platform/eingabe.h"
#include "platform/wayland/sway_fenster.h"
#include "platform/wayland/virtuelle_tastatur.h"
#include "platform/wayland/virtueller_zeiger.h"
#include "platform/wayland/wayland_abgriff.h"

namespace klebwerk::wayland {

// Input on sway: keys through the virtual keyboard of this process, to the focused
// window or, with a pid, to that process's window after giving it the focus through the
// IPC (a Wayland client only ever gets keys while it has the focus). The keyboard has a
// modifier state of its own, so modifiers the user holds never combine with its keys.
// Mouse input goes through the virtual pointer of this process, when there is one and
// the compositor offers it. The pointer's position is known only while it is over the
// tap's overlay; otherwise, as the idle time, it is logged once and answers as if the
// user had just been busy at the origin.
class WaylandEingabe : public Eingabe {
public:
    WaylandEingabe(VirtuelleTastatur& tastatur, const SwayFensterdienst& fenster, VirtuellerZeiger* zeiger = nullptr,
                   const WaylandAbgriff* abgriff = nullptr)
        : tastatur_(tastatur), fenster_(fenster), zeiger_(zeiger), abgriff_(abgriff) {}

    void taste(std::uint16_t code, std::uint64_t flaggen, std::optional<int> pid) override;
    void maus(Maustaste taste, bool runter, Punkt wo) override;
    void bewegeZeiger(Punkt wo) override;
    Punkt zeiger() override;
    // Not known yet on this backend: the pointer counts as just moved, so that
    // nothing waits for it to rest and then moves it.
    double zeigerRuhe() override;
    bool maustasteGehalten() override { return false; }
    // Nothing the user holds reaches the virtual keyboard's keys: none to wait for.
    std::uint64_t gehalteneFlaggen() override { return 0; }
    std::uint64_t eigeneFlaggen(std::uint64_t) override { return flagge::modifikatoren; }
    std::string zeichen(std::uint16_t code) override;

private:
    void fehltNoch(const char* was);
    // Whether mouse input can be sent; logs once why not.
    bool zeigerBereit();

    VirtuelleTastatur& tastatur_;
    const SwayFensterdienst& fenster_;
    VirtuellerZeiger* zeiger_;
    const WaylandAbgriff* abgriff_;
    std::atomic<bool> mausGemeldet_{false}, zeigerGemeldet_{false}, ruheGemeldet_{false};
};

}  // namespace klebwerk::wayland
