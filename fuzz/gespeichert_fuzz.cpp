// The stored forms as a settings file: the target list with its application keys, the
// removed windows and the applications that connect automatically, the shortcuts and
// the button signatures. A running controller on the simulated desktop restores the
// targets from it, registers the shortcuts, builds its menu and status, lets the late
// connection run, and saves the list again. Afterwards every stored entry can name a
// window, and the keys that none of this writes are as the user left them.

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "input/kuerzel.h"
#include "sim_aufbau.h"
#include "targets/zielspeicher.h"
#include "umgebung.h"

namespace klebwerk::fuzz {
namespace {

SimAufbau& aufbau() {
    static SimAufbau* u = [] {
        starteQt();
        auto* neu = new SimAufbau;
        neu->setzeEinstellungsdatei("{}");
        neu->starte();
        return neu;
    }();
    return *u;
}

// The keys that restoring, connecting and saving the targets write.
const std::set<QString> zielSchluessel = {"ziele", "zielKennungen", "zielPid", "zielNummer", "autoApps", "abgewaehlt"};

void vergissZiele(Steuerung& s) {
    s.verbunden.clear();
    s.ausstehend.clear();
    s.ziel.reset();
    s.wahlErsetzt.reset();
    s.wacheZiel.reset();
}

}  // namespace
}  // namespace klebwerk::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    using namespace klebwerk;
    using namespace klebwerk::fuzz;
    SimAufbau& u = aufbau();
    Steuerung& s = *u.steuerung;
    vergissZiele(s);
    const std::string inhalt(reinterpret_cast<const char*>(daten), groesse);
    u.setzeEinstellungsdatei(inhalt);
    leereProtokoll();
    u.leereAufzeichnungen();

    s.stelleZielWiederHer();
    for (KuerzelArt art : alleKuerzelArten) {
        (void)s.kuerzel(art);
        s.meldeKuerzelAn(art);
    }
    (void)s.knopf();
    (void)s.diktatKnopf();
    (void)s.abgewaehlt();
    (void)s.autoApps();
    (void)s.baueMenue();
    s.aktualisiereLeiste();
    u.desktop.uhr.vorwaerts(2.0);  // the late connection and the automatic one
    s.speichereZiele();
    QApplication::processEvents();

    for (const auto& eintrag : u.ud.zahlenListen("ziele")) {
        if (!eintragImBereich(eintrag)) verletzt("gespeicherter Eintrag nennt kein Fenster", inhalt);
    }
    QJsonParseError fehler{};
    const QJsonDocument vorher = QJsonDocument::fromJson(QByteArray::fromStdString(inhalt), &fehler);
    const std::string danach = test::TempHeim::lies(u.einstellungsdatei());
    if (!istJsonObjekt(danach)) verletzt("Einstellungen kein JSON-Objekt", inhalt);
    if (fehler.error == QJsonParseError::NoError && vorher.isObject()) {
        const QJsonObject neu = QJsonDocument::fromJson(QByteArray::fromStdString(danach)).object();
        const QJsonObject alt = vorher.object();
        for (auto it = alt.begin(); it != alt.end(); ++it) {
            if (zielSchluessel.count(it.key())) continue;
            if (neu.value(it.key()) != it.value())
                verletzt("Schlüssel " + it.key().toStdString() + " hat sich geändert", inhalt);
        }
    } else if (test::TempHeim::lies(u.einstellungsdatei() + ".defekt") != inhalt) {
        verletzt("die unlesbare Datei ist nicht aufbewahrt", inhalt);
    }
    protokollZeilen(u.heim.protokoll(), inhalt);
    return 0;
}
