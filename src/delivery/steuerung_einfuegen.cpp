// Bringing a target forward, waiting until it is there, and pressing keys.

#include "app/steuerung.h"
#include "delivery/tastendruck.h"

namespace klebwerk {

void Steuerung::holeNachVorn(int pid) {
    ax.setze(ax.anwendung(pid), "AXFrontmost", true);
    plattform.arbeitsplatz.aktiviere(pid, false);
}

void Steuerung::hebe(const Element& fenster) {
    ax.aktion(fenster, "AXRaise");
    ax.setze(fenster, "AXMain", true);
}

void Steuerung::aktiviereZiel(const Ziel& z) {
    holeNachVorn(z.pid);
    hebe(z.fenster);
}

void Steuerung::warteBisVorn(const std::shared_ptr<Ziel>& z, int versuche, std::function<void(bool)> fertig) {
    auto vorne = plattform.arbeitsplatz.vorderste();
    const bool vorn = vorne && vorne->pid == z->pid;
    auto fokus = ax.element(z->app, "AXFocusedWindow");
    const bool fokussiert = fokus && *fokus == z->fenster;
    if (vorn && fokussiert) {
        fertig(true);
        return;
    }
    if (versuche < 1) {
        fertig(false);
        return;
    }
    if (vorn) hebe(z->fenster);
    nach(0.05, [this, z, versuche, fertig = std::move(fertig)]() mutable {
        warteBisVorn(z, versuche - 1, std::move(fertig));
    });
}

void Steuerung::nach(double sekunden, std::function<void()> arbeit) {
    const std::uint64_t nr = ++spaeterNummer;
    spaeter[nr] = schleife.nach(sekunden, [this, nr, arbeit = std::move(arbeit)]() mutable {
        auto selbst = std::move(arbeit);  // the entry below owns nothing that runs
        spaeter.erase(nr);
        selbst();
    });
}

void Steuerung::taste(std::uint16_t code, std::uint64_t flaggen, int pid, bool vorn, std::function<void()> gesendet) {
    Tastendruck d{code, flaggen, vorn ? std::nullopt : std::optional<int>(pid)};
    drueckeTaste(plattform.eingabe, [this](double s, std::function<void()> f) { nach(s, std::move(f)); }, d,
                 std::move(gesendet));
}

void Steuerung::drueckeReturn(const Ziel& z, bool vorn, std::function<void()> gesendet) {
    taste(tasteReturn, 0, z.pid, vorn, std::move(gesendet));
}

}  // namespace klebwerk
