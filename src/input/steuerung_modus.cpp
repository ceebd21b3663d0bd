// The interaction modes and their event tap: choosing a target by click, learning a
// button, recording a shortcut. A tap exists only while a mode runs (and for the
// mouse-up of a choosing click).

#include "basis/protokoll.h"
#include "app/sprache.h"
#include "app/steuerung.h"
#include "panel/bedienfeld.h"
#include "feedback/rahmen.h"
#include "input/abgriff_regel.h"
#include "targets/fenster_suche.h"

namespace klebwerk {

bool Steuerung::starteTap(bool nurTasten, Modus kommend) {
    // The old tap goes first: a new grab must not be released by the old one's end.
    tap.aufheben();
    Marke neu = plattform.abgriff.starte(regelFuer(nurTasten, kommend),
                                         [this](const AbgriffEreignis& e) { tapRueckruf(e); });
    if (!neu.aktiv()) {
        hinweis.zeige(L("Auswahl nicht möglich – Freigabe prüfen", "Can't choose – check permission"), 3.0);
        return false;
    }
    tap = std::move(neu);
    return true;
}

void Steuerung::tapRueckruf(const AbgriffEreignis& e) { tapEreignis(e.art, e); }

bool Steuerung::tapEreignis(EreignisArt art, const AbgriffEreignis& e) {
    switch (art) {
        case EreignisArt::mausRunter:
            if (modus == Modus::kuerzel) {
                nach(0, [this] {
                    beendeModus();
                    kuerzelLernen.reset();
                    schreibeStatus();
                });
                return false;
            }
            if (modus != Modus::wahl) return false;
            schluckeLoslassen = true;
            nach(0, [this, p = e.wo] { waehle(p); });
            return true;
        case EreignisArt::mausHoch:
            if (!schluckeLoslassen) return false;
            schluckeLoslassen = false;
            nach(0, [this] {
                if (modus == Modus::keiner) gibTapFrei();
            });
            return true;
        case EreignisArt::mausBewegt: {
            if (modus != Modus::wahl) return false;
            // Motion comes in floods: one frame update for the latest position at a time.
            const bool offen = bewegungOffen.has_value();
            bewegungOffen = e.wo;
            if (!offen) {
                nach(0, [this] {
                    auto p = std::exchange(bewegungOffen, std::nullopt);
                    if (!p || modus != Modus::wahl) return;
                    if (auto t = fensterUnter(plattform.fensterliste, plattform.arbeitsplatz.eigenePid(), *p))
                        rahmen.zeige(t->rahmen, akzentFarbe(), std::nullopt);
                });
            }
            return false;
        }
        case EreignisArt::tasteRunter:
            if (modus == Modus::kuerzel) {
                nach(0, [this, kopie = e] { kuerzelTaste(kopie.code, kopie.flaggen, kopie); });
                return true;
            }
            if (e.code != tasteEscape) return false;
            nach(0, [this] {
                protokoll("Auswahl abgebrochen (esc)");
                beendeModus();
            });
            return true;
        case EreignisArt::flaggenGeaendert:
            if (modus == Modus::lernen && nurOption(e.flaggen)) nach(0, [this, p = e.wo] { lerne(p); });
            return false;
        default:
            return false;
    }
}

void Steuerung::gibTapFrei() {
    modus = Modus::keiner;
    tap.aufheben();
    schluckeLoslassen = false;
    bewegungOffen.reset();
    wahlErsetzt.reset();
    if (feldSichtbar()) feld().aktualisiere();
    schreibeStatus();
}

void Steuerung::beendeModus() {
    rahmen.weg();
    hinweis.weg();
    gibTapFrei();
}

void Steuerung::zielWahlStarten() {
    if (!vertraut) {
        oeffneFreigabe();
        return;
    }
    if (modus != Modus::keiner) {
        beendeModus();
        return;
    }
    if (!starteTap(false, Modus::wahl)) return;
    modus = Modus::wahl;
    protokoll("Auswahl gestartet");
    hinweis.zeige(L("Zielfenster anklicken  ·  esc bricht ab", "Click the target window  ·  esc cancels"), std::nullopt);
    schreibeStatus();
}

void Steuerung::oeffneFreigabe() { plattform.arbeitsplatz.oeffne(zugaenglichkeitsLink); }

}  // namespace klebwerk
