#include <QJsonObject>

#include "basis/protokoll.h"
#include "app/sprache.h"
#include "app/steuerung.h"
#include "panel/bedienfeld.h"

namespace klebwerk {

namespace {
constexpr double freigabeTakt = 2.0;
constexpr double aufraeumTakt = 3600.0;
constexpr double fokusTaktSekunden = 0.4;
}  // namespace

void Steuerung::starte() {
    // 1. Defaults.
    ud.registriereStandards(QJsonObject{{"diktatSenden", true}, {"aufnahmen", true}, {"feldSichtbar", true}});
    // 2.–3. The status item, first in its look for missing permission.
    richteLeisteEin();
    aktualisiereLeiste();
    // 4.–6. The watcher.
    waechter.neu = [this](const std::string& pfad) { neuerScreenshot(pfad); };
    waechter.vollstaendig = [this](const std::string& pfad) {
        if (vertraut && !pausiert() && ziel) vorkodierung.beginne(pfad);
    };
    waechter.videosErlaubt = [this] { return aufnahmen(); };
    waechter.start();
    // 7. Global shortcuts.
    registriereKurzbefehl();
    // 8. SIGTERM: ends as a normal quit does, then leaves with status 0.
    endeQuelle = plattform.beendigung.beiSignal([this] {
        beimBeenden();
        schleife.beende(0);
    });
    // 9. An application that quits takes its targets along.
    beendetBeobachter = plattform.arbeitsplatz.beiBeendet([this](const Anwendung& app) {
        auto kopie = verbunden;
        for (const auto& z : kopie) {
            if (z->pid == app.pid) entferne(z, false);
        }
    });
    // 10. The test command channel.
    if (ud.istWahr("testBefehle")) {
        befehlsKanal = plattform.befehle.hoere([this](const std::string& text) { testBefehl(text); });
    }
    // 11. The login item.
    protokoll("Anmeldeobjekt-Status: " + std::to_string(plattform.anmeldeobjekt.status()));
    // 12. The accessibility permission, polled until granted.
    vertraut = plattform.ax.vertraut(true);
    if (!vertraut) {
        freigabeUhr = schleife.wiederhole(freigabeTakt, [this] {
            if (!plattform.ax.vertraut(false)) return;
            vertraut = true;
            // The stored targets wait for the permission; restoring now keeps the first
            // save from writing an empty list over them.
            stelleZielWiederHer();
            aktualisiereLeiste();
            hinweis.zeige(L("Freigabe erteilt – Zielfenster mit ⌃⌥S wählen",
                            "Permission granted – choose a target window with ⌃⌥S"),
                          3.0);
            freigabeUhr.aufheben();  // last: this drops the running timer itself
        });
    }
    // 13.
    protokoll(std::string("Start, Freigabe: ") + (vertraut ? "true" : "false"));
    // 14.–16.
    stelleZielWiederHer();
    aktualisiereLeiste();
    raeumeZwischenlagerAuf();
    // 17.–18. Timers.
    aufraeumUhr = schleife.wiederhole(aufraeumTakt, [this] { raeumeZwischenlagerAuf(); });
    fokusUhr = schleife.wiederhole(fokusTaktSekunden, [this] { fokusTakt(); });
    // 19. The panel.
    if (feldSichtbar()) feld().zeige();
}

void Steuerung::fokusTakt() {
    const double anfang = schleife.jetzt();
    pruefeFokus();
    takt += 1;
    if (takt % 5 == 0) {
        pruefeAusstehende();
        pruefeNeueFenster();
    }
    taktDauern.emplace_back(schleife.jetzt() - anfang, takt % 5 == 0);
    if (taktDauern.size() > 1500) taktDauern.pop_front();
}

void Steuerung::beimBeenden() {
    if (beendet) return;
    beendet = true;
    aktualisiereVorschau(true);
    gibAblageAb();
}

}  // namespace klebwerk
