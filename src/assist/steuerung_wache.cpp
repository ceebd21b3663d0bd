// The read-aloud watch: follows the target while it writes an answer and, once the
// answer is finished and the pointer rests, hovers over it and clicks the learned
// read-aloud button. The searches and the hover-and-press run on the background
// lane; every decision here, on the main thread.

#include <algorithm>

#include "app/steuerung.h"
#include "assist/knopfsuche.h"
#include "assist/sprung.h"
#include "assist/vorlese_wache.h"
#include "basis/protokoll.h"
#include "targets/fenster_suche.h"

namespace klebwerk {

namespace {
constexpr double wachenTakt = 1.0;
constexpr double wachenDauer = 900.0;
}  // namespace

void Steuerung::starteWache(const std::shared_ptr<Ziel>& z) {
    if (!z) return;
    wacheZiel = z;
    wacheEnde = schleife.jetzt() + wachenDauer;
    if (wacheLaeuft) return;
    wacheLaeuft = true;
    protokoll("Vorlesen: Wache gestartet für " + z->anzeige());
    auto w = std::make_shared<VorleseWache>();
    w->nummer = ++wacheNummer;
    wache = schleife.wiederhole(wachenTakt, [this, w] { wacheTakt(w); });
    schreibeStatus();
}

void Steuerung::stoppeWache() {
    wache.aufheben();
    wacheLaeuft = false;
    wacheZiel.reset();
    ++wacheNummer;
    schreibeStatus();
}

void Steuerung::schalteVorlesen() {
    stoppeWache();
    schreibeStatus();
}

void Steuerung::wacheTakt(const std::shared_ptr<VorleseWache>& w) {
    if (w->nummer != wacheNummer) return;
    const auto m = merkmal(KnopfArt::vorlesen);
    // A closed window leaves the list of targets (the window system says so); a
    // window that is merely slow to answer is not taken for closed.
    const bool verbundenDa = wacheZiel && std::find(verbunden.begin(), verbunden.end(), wacheZiel) != verbunden.end();
    if (!verbundenDa || !m || schleife.jetzt() >= wacheEnde) {
        if (wacheLaeuft) protokoll("Vorlesen: Wache beendet ohne Vorlesen");
        stoppeWache();
        return;
    }
    if (w->beschaeftigt) return;
    w->beschaeftigt = true;
    // The target and the signature as they are now: the background lane never reads
    // the controller's fields.
    auto z = wacheZiel;
    imHintergrund([this, a = ax, fenster = z->fenster, w, z, m = *m] {
        const std::optional<bool> stopp = stoppKnopfIn(a, fenster);
        return [this, w, z, m, stopp] {
            w->beschaeftigt = false;
            // Stopped, restarted or re-aimed meanwhile: this look was for another watch.
            if (w->nummer != wacheNummer || !wacheLaeuft || z != wacheZiel) return;
            if (!stopp) return;  // the window did not answer in time: asked again next tick
            switch (werteAus(*w, *stopp, schleife.jetzt(), plattform.eingabe.zeigerRuhe())) {
                case VorleseSchritt::nichts:
                    return;
                case VorleseSchritt::antwortLaeuft:
                    protokoll("Vorlesen: Antwort läuft");
                    return;
                case VorleseSchritt::antwortFertig:
                    protokoll("Vorlesen: Antwort fertig");
                    return;
                case VorleseSchritt::springen:
                    break;
            }
            w->beschaeftigt = true;
            springUndDruecke(z, m, [this, w, z](const SprungAusgang& aus) {
                w->beschaeftigt = false;
                if (w->nummer != wacheNummer || !wacheLaeuft || z != wacheZiel) return;
                switch (aus.ergebnis) {
                    case SprungErgebnis::unterbrochen:
                        // The user had the pointer: no attempt used, the next tick tries again.
                        return;
                    case SprungErgebnis::nichtGeklickt:
                        protokoll("Vorlesen: Knopf nach Sprung nicht gefunden (Versuch " +
                                  std::to_string(zaehleFehlversuch(*w)) + ")");
                        return;
                    case SprungErgebnis::geklickt:
                        protokoll("Vorlesen gedrückt: true");
                        hinweis.zeige("Antwort wird vorgelesen", 1.8);
                        stoppeWache();
                        return;
                }
            });
        };
    });
}

void Steuerung::jetztVorlesen() {
    auto m = merkmal(KnopfArt::vorlesen);
    if (!ziel || !m) return;
    springUndDruecke(ziel, *m, [this](const SprungAusgang& aus) {
        if (aus.ergebnis == SprungErgebnis::geklickt) protokoll("Jetzt vorlesen: true");
        // Given up for the user's pointer: the log says so, the button was not missing.
        else if (aus.ergebnis == SprungErgebnis::nichtGeklickt)
            hinweis.zeige("Kein Vorlesen-Knopf im Zielfenster gefunden", 2.5);
    });
}

bool Steuerung::stoppKnopfDa(const Ziel& z) const { return stoppKnopfIn(ax, z.fenster).value_or(false); }

bool Steuerung::liegtOben(const Ziel& z, Punkt p) {
    return liegtObenIn(plattform.fensterliste, z.pid, ax.fensterNummer(z.fenster), p);
}

void Steuerung::springUndDruecke(const std::shared_ptr<Ziel>& z, const KnopfMerkmal& m,
                                 std::function<void(const SprungAusgang&)> fertig) {
    SprungDienste dienste{ax, plattform.fensterliste, plattform.eingabe, plattform.arbeitsplatz,
                          sprungGehaltenGemeldet};
    SprungAuftrag auftrag{z->app, z->fenster, z->pid, m, std::nullopt};
    if (auto vorne = plattform.arbeitsplatz.vorderste()) auftrag.vorne = vorne->pid;
    imHintergrundKette([this, dienste, auftrag, fertig = std::move(fertig)](Rueckweg zurueck) {
        return sprungKette(dienste, auftrag, [this, zurueck, fertig](SprungAusgang aus) {
            zurueck([this, fertig, aus] {
                // The user stays where they were.
                if (aus.zurueckZu) plattform.arbeitsplatz.aktiviere(*aus.zurueckZu, false);
                fertig(aus);
            });
        });
    });
}

}  // namespace klebwerk
