// Dictation: the target's own dictation button pressed after a paste or by the
// shortcut, and the watch that presses Send once the dictated text has settled. The
// button searches and input reads run on the background lane; every decision here.

#include <algorithm>

#include "app/sprache.h"
#include "app/steuerung.h"
#include "assist/diktat_wache.h"
#include "assist/knopfsuche.h"
#include "basis/protokoll.h"
#include "targets/browser.h"
#include "targets/seite.h"

namespace klebwerk {

namespace {
constexpr double wachenTakt = 0.6;
constexpr double wachenHoechstdauer = 600.0;
}  // namespace

void Steuerung::imHintergrund(std::function<std::function<void()>()> arbeit) {
    const std::uint64_t nr = ++hintergrundNummer;
    std::weak_ptr<int> lebt = lebenszeichen;
    Laufschleife& s = schleife;
    hintergrundArbeiten[nr] = schleife.hintergrund([this, &s, lebt, nr, arbeit = std::move(arbeit)] {
        auto danach = arbeit();
        s.aufHaupt([this, lebt, nr, danach = std::move(danach)] {
            if (lebt.expired()) return;
            hintergrundArbeiten.erase(nr);
            danach();
        });
        return Fortsetzung::fertig();
    });
}

void Steuerung::imHintergrundKette(const std::function<Schritt(Rueckweg)>& baue) {
    const std::uint64_t nr = ++hintergrundNummer;
    std::weak_ptr<int> lebt = lebenszeichen;
    Laufschleife& s = schleife;
    Rueckweg zurueck = [this, &s, lebt, nr](std::function<void()> danach) {
        s.aufHaupt([this, lebt, nr, danach = std::move(danach)] {
            if (lebt.expired()) return;
            hintergrundArbeiten.erase(nr);
            danach();
        });
    };
    hintergrundArbeiten[nr] = schleife.hintergrund(baue(std::move(zurueck)));
}

std::optional<Element> Steuerung::sucheKnopf(const Ziel& z, const KnopfMerkmal& m) const {
    return sucheKnopfIn(ax, z.fenster, m);
}

void Steuerung::stoppeDiktat() {
    diktatUhr.aufheben();
    diktatLaeuft = false;
    // Whatever a stopped dictation still has under way counts no more.
    ++diktatNummer;
}

void Steuerung::starteDiktat(const std::shared_ptr<Ziel>& z) {
    if (diktatLaeuft) return;
    const auto m = merkmal(KnopfArt::diktat);
    if (!m) return;
    diktatLaeuft = true;
    const std::uint64_t nummer = ++diktatNummer;
    imHintergrund([this, a = ax, fenster = z->fenster, z, m = *m, nummer] {
        auto knopf = sucheKnopfIn(a, fenster, m);
        return [this, z, m, nummer, knopf] {
            // Stopped meanwhile (the target removed, dictation switched off, the shortcut).
            if (nummer != diktatNummer || !diktatLaeuft) return;
            if (knopf && ax.aktion(*knopf, "AXPress")) {
                protokoll("Diktat gestartet");
                hinweis.zeige(L("● Diktat läuft – einfach sprechen", "● Dictation on – just speak"), 2.5);
                if (diktatSenden()) beobachteDiktat(z, m);
                else diktatLaeuft = false;
            } else {
                diktatLaeuft = false;
                hinweis.zeige(L("Diktat-Knopf im Zielfenster nicht gefunden", "Dictation button not found in the target window"),
                              2.5);
                protokoll("Diktat: Knopf nicht gefunden");
            }
            schreibeStatus();
        };
    });
}

void Steuerung::diktatPerKuerzel() {
    if (!ziel) {
        hinweis.zeige(L("Kein Zielfenster gewählt", "No target window chosen"), 2.0);
        return;
    }
    if (!merkmal(KnopfArt::diktat)) {
        hinweis.zeige(L("Diktat-Knopf noch nicht festgelegt", "Dictation button not set yet"), 2.5);
        return;
    }
    protokoll("Kürzel: Diktat");
    stoppeDiktat();
    ruhigBis = schleife.jetzt() + 2.0;
    auto z = ziel;
    aktiviereZiel(*z);
    const std::uint64_t nummer = diktatNummer;
    warteBisVorn(z, 30, [this, z, nummer](bool) {
        if (nummer != diktatNummer) return;
        fokussiereEingabe(z);
        nach(0.15, [this, z, nummer] {
            if (nummer == diktatNummer) starteDiktat(z);
        });
    });
}

void Steuerung::beobachteDiktat(const std::shared_ptr<Ziel>& z, const KnopfMerkmal& m) {
    auto w = std::make_shared<DiktatWache>();
    w->nummer = diktatNummer;
    w->ziel = z;
    w->merkmal = m;
    w->start = schleife.jetzt();
    w->letzteAenderung = w->start;
    diktatUhr = schleife.wiederhole(wachenTakt, [this, w] { diktatTakt(w); });
}

void Steuerung::diktatTakt(const std::shared_ptr<DiktatWache>& w) {
    if (w->nummer != diktatNummer) return;
    if (!diktatLaeuft || schleife.jetzt() - w->start >= wachenHoechstdauer) {
        stoppeDiktat();
        schreibeStatus();
        return;
    }
    if (w->beschaeftigt) return;
    w->beschaeftigt = true;
    const bool browser = istBrowser(plattform.arbeitsplatz, w->ziel->pid);
    imHintergrund([this, a = ax, w, app = w->ziel->app, fenster = w->ziel->fenster, m = w->merkmal, browser] {
        // What this tick could not read stays unknown: a slow target lowers the tick
        // rate, it never counts as a recording button or as new text.
        std::optional<bool> knopfDa;
        std::optional<std::string> text;
        if (a.text(fenster, "AXRole")) {
            const bool gefunden = sucheKnopfIn(a, fenster, m).has_value();
            // Not found, and the window no longer answers: the search may have missed it.
            if (gefunden || a.text(fenster, "AXRole")) knopfDa = gefunden;
            text = eingabeTextVon(a, app, fenster, browser);
        }
        return [this, w, knopfDa, text] {
            w->beschaeftigt = false;
            if (w->nummer != diktatNummer || !diktatLaeuft) return;
            // A closed window leaves the list of targets (the window system says so);
            // a window that merely did not answer in time is asked again next tick.
            if (std::find(verbunden.begin(), verbunden.end(), w->ziel) == verbunden.end()) {
                stoppeDiktat();
                schreibeStatus();
                return;
            }
            if (!knopfDa || !text) return;
            switch (werteAus(*w, *knopfDa, *text, schleife.jetzt())) {
                case WachenSchritt::weiter:
                    return;
                case WachenSchritt::senden:
                    stoppeDiktat();
                    // Switched off while the user spoke: the text stays unsent.
                    if (diktatSenden()) sende(w->ziel, true);
                    else protokoll("Diktat beendet, Senden nach Diktat ist aus");
                    break;
                case WachenSchritt::ohneText:
                    protokoll("Diktat ohne Text beendet");
                    stoppeDiktat();
                    break;
            }
            schreibeStatus();
        };
    });
}

}  // namespace klebwerk
