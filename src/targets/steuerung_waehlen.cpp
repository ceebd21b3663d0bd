// Choosing a window by click or from the menu, reconnecting, deselecting and
// rearranging the targets.

#include <algorithm>
#include <set>

#include "basis/protokoll.h"
#include "app/sprache.h"
#include "app/steuerung.h"
#include "app/zahltext.h"
#include "diagnostics/befehlstext.h"
#include "targets/fenster_suche.h"
#include "targets/zielobjekt.h"

namespace klebwerk {

void Steuerung::waehle(Punkt p) {
    modus = Modus::keiner;
    rahmen.weg();
    hinweis.weg();
    bool gefunden = false;
    if (auto treffer = fensterUnter(plattform.fensterliste, plattform.arbeitsplatz.eigenePid(), p)) {
        if (auto fenster = axFenster(ax, treffer->pid, treffer->nummer, treffer->rahmen)) {
            setzeZiel(std::make_shared<Ziel>(ax, plattform.arbeitsplatz, *fenster, treffer->pid));
            gefunden = true;
        }
    }
    if (!gefunden) {
        protokoll("Auswahl: kein Fenster bei " + punktText(p));
        hinweis.zeige(L("Hier ist kein Fenster", "No window here"), 2.0);
    }
    // A choice that no swallowed click led to (a direct call during the mode) has no
    // mouse-up to wait for: the tap goes now, or it would hold the pointer for good.
    if (tap.aktiv() && !schluckeLoslassen) gibTapFrei();
}

void Steuerung::fensterGewaehlt(const QVariant& dargestellt) {
    if (auto z = alsZiel(dargestellt)) setzeZiel(z);
}

void Steuerung::zielAktivieren(const QVariant& dargestellt) {
    auto z = alsZiel(dargestellt);
    // A menu built before the target left the list may still offer it.
    if (z && std::find(verbunden.begin(), verbunden.end(), z) != verbunden.end()) aktiviere(z, true);
}

void Steuerung::zielAufheben() {
    if (auto z = ziel) {
        merkeAbgewaehlt(z);
        entferne(z, true);
    }
}

void Steuerung::fensterHinzufuegen() {
    wahlErsetzt.reset();
    zielWahlStarten();
}

void Steuerung::neuVerbinden(const std::shared_ptr<Ziel>& z) {
    wahlErsetzt = z;
    zielWahlStarten();
}

void Steuerung::ordne(const std::vector<std::shared_ptr<Ziel>>& neu) {
    // Only a reordering: every connected target exactly once, nothing else.
    if (neu.size() != verbunden.size()) return;
    std::set<const Ziel*> alt, gesehen;
    for (const auto& z : verbunden) alt.insert(z.get());
    for (const auto& z : neu) {
        if (!z || !alt.count(z.get()) || !gesehen.insert(z.get()).second) return;
    }
    verbunden = neu;
    speichereZiele();
    aktualisiereLeiste();
    std::vector<std::string> namen;
    for (const auto& z : verbunden) namen.push_back(name(z));
    protokoll("Reihenfolge: " + befehlsListe(namen));
}

}  // namespace klebwerk
