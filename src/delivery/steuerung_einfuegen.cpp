// Bringing a target forward, waiting until it is there, and pressing keys.

#include "basis/protokoll.h"
#include "app/steuerung.h"
#include "platform/eingabe.h"

namespace klebwerk {

namespace {
// Modifiers that would combine with a synthetic key.
constexpr std::uint64_t modifikatoren = flagge::befehl | flagge::control | flagge::option | flagge::umschalt;
constexpr double loslassTakt = 0.02;
}  // namespace

void Steuerung::aktiviereZiel(const Ziel& z) {
    ax.setze(z.app, "AXFrontmost", true);
    plattform.arbeitsplatz.aktiviere(z.pid, false);
    ax.aktion(z.fenster, "AXRaise");
    ax.setze(z.fenster, "AXMain", true);
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
    if (vorn) {
        ax.aktion(z->fenster, "AXRaise");
        ax.setze(z->fenster, "AXMain", true);
    }
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

void Steuerung::taste(std::uint16_t code, std::uint64_t flaggen, int pid, bool vorn, int versuche) {
    // A held modifier (the keys of a shortcut just pressed) would turn ⌘V into
    // something else: wait a moment for the user to let go, then send regardless.
    const std::uint64_t gehalten = plattform.eingabe.gehalteneFlaggen() & modifikatoren & ~flaggen;
    if (gehalten && versuche > 0) {
        nach(loslassTakt, [this, code, flaggen, pid, vorn, versuche] { taste(code, flaggen, pid, vorn, versuche - 1); });
        return;
    }
    if (gehalten) protokoll("Taste " + std::to_string(code) + " gesendet, obwohl noch Umschalttasten gehalten werden");
    plattform.eingabe.taste(code, flaggen, vorn ? std::nullopt : std::optional<int>(pid));
}

}  // namespace klebwerk
