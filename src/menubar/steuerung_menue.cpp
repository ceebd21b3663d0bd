// The status menu, rebuilt from the current state each time it opens, and the toggles
// its items call.

#include "app/sprache.h"
#include "app/steuerung.h"
#include "panel/bedienfeld.h"
#include "menubar/menue.h"
#include "targets/fenster_suche.h"
#include "targets/zielobjekt.h"

namespace klebwerk {

std::vector<MenueEintrag> Steuerung::baueMenue() {
    using E = MenueEintrag;
    std::vector<E> m;
    if (!vertraut) {
        m.push_back(E::knopf(L("Freigabe „Bedienungshilfen“ erteilen …", "Grant “Accessibility” permission …"),
                             [this] { oeffneFreigabe(); }));
        m.push_back(E::trenner());
        E ende = E::knopf(L("Beenden", "Quit"), [this] { beenden(); });
        ende.kuerzel = "Ctrl+Q";
        m.push_back(ende);
        return m;
    }
    m.push_back(E::text(ziel ? L("Ziel: ", "Target: ") + ziel->anzeige()
                             : L("Kein Zielfenster gewählt", "No target window chosen")));
    E waehlen = E::knopf(L("Zielfenster anklicken …", "Click target window …"), [this] { zielWahlStarten(); });
    waehlen.kuerzel = "Ctrl+Alt+S";
    m.push_back(waehlen);

    E fenster = E::text(L("Fenster wählen", "Choose window"));
    for (const FensterEintrag& f : alleFenster(ax, plattform.arbeitsplatz)) {
        auto kandidat = std::make_shared<Ziel>(ax, plattform.arbeitsplatz, f.fenster, f.pid);
        const std::string titel = f.titel.empty() ? f.appName : f.appName + " \u2013 " + f.titel;
        fenster.unter.push_back(E::knopf(titel, [this, kandidat] { fensterGewaehlt(zielObjekt(kandidat)); },
                                         ziel && ziel->fenster == f.fenster));
    }
    if (fenster.unter.empty()) fenster.unter.push_back(E::text(L("Keine Fenster gefunden", "No windows found")));
    m.push_back(fenster);

    if (verbunden.size() > 1) {
        for (const auto& z : verbunden)
            m.push_back(E::knopf("   " + name(z), [this, z] { zielAktivieren(zielObjekt(z)); }, z == ziel));
    }
    if (ziel) m.push_back(E::knopf(L("Ziel aufheben", "Clear target"), [this] { zielAufheben(); }));
    m.push_back(E::trenner());

    m.push_back(E::knopf(L("Pausieren", "Pause"), [this] { schaltePause(); }, pausiert()));
    m.push_back(E::knopf(L("Bildschirmaufnahmen einfügen", "Paste screen recordings"), [this] { schalteAufnahmen(); },
                         aufnahmen()));
    m.push_back(E::knopf(L("Danach aus Downloads in den Papierkorb", "Then move from Downloads to Trash"),
                         [this] { schaltePapierkorb(); }, papierkorb()));
    m.push_back(E::knopf(L("Nach dem Einfügen sofort senden", "Send right after pasting"), [this] { schalteAbsenden(); },
                         absenden()));
    m.push_back(E::knopf(L("Nach dem Einfügen Diktat starten", "Start dictation after pasting"),
                         [this] { schalteDiktat(); }, diktat()));
    if (diktat()) {
        m.push_back(E::knopf(L("Nach dem Diktat senden", "Send after dictation"), [this] { schalteDiktatSenden(); },
                             diktatSenden()));
    }
    if (auto k = diktatKnopf()) {
        const std::string label = k->label.empty() ? L("ohne Namen", "unnamed") : k->label;
        m.push_back(E::knopf(L("Diktat-Knopf neu festlegen … (", "Set dictation button again … (") + label + ")",
                             [this] { lerneDiktat(); }));
    }
    m.push_back(E::trenner());

    m.push_back(E::knopf(L("Bedienfeld anzeigen", "Show panel"), [this] { schalteFeld(); }, feldSichtbar()));
    m.push_back(E::knopf(L("Beim Anmelden starten", "Open at login"), [this] { schalteAnmeldung(); },
                         plattform.anmeldeobjekt.status() == Anmeldeobjekt::aktiv));
    m.push_back(E::knopf(L("Auf Englisch umstellen (English)", "Switch to German (Deutsch)"),
                         [this] { wechsleSprache(); }));
    m.push_back(E::trenner());
    E ende = E::knopf(L("Beenden", "Quit"), [this] { beenden(); });
    ende.kuerzel = "Ctrl+Q";
    m.push_back(ende);
    return m;
}

void Steuerung::schaltePause() {
    ud.setzeWahr("pausiert", !pausiert());
    aktualisiereLeiste();
}

void Steuerung::schalteAufnahmen() {
    ud.setzeWahr("aufnahmen", !aufnahmen());
    schreibeStatus();
}

void Steuerung::schaltePapierkorb() {
    ud.setzeWahr("papierkorb", !papierkorb());
    schreibeStatus();
}

void Steuerung::schalteDiktatSenden() {
    ud.setzeWahr("diktatSenden", !diktatSenden());
    schreibeStatus();
}

void Steuerung::schalteAbsenden() {
    ud.setzeWahr("absenden", !absenden());
    // Sending right away and dictation after the paste exclude each other.
    if (absenden()) {
        ud.setzeWahr("diktatAn", false);
        stoppeDiktat();
    }
    schreibeStatus();
}

void Steuerung::schalteDiktat() {
    if (diktat()) {
        ud.setzeWahr("diktatAn", false);
        stoppeDiktat();
    } else if (!diktatKnopf()) {
        // The learn switches dictation on once it succeeds.
        lerneDiktat();
        return;
    } else {
        ud.setzeWahr("diktatAn", true);
        ud.setzeWahr("absenden", false);
    }
    schreibeStatus();
}

void Steuerung::schalteFeld() {
    ud.setzeWahr("feldSichtbar", !feldSichtbar());
    if (feldSichtbar()) {
        feld().zeige();
    } else if (hatFeld()) {
        feld().verstecke();
    }
    schreibeStatus();
}

void Steuerung::beenden() { schleife.beende(0); }

}  // namespace klebwerk
