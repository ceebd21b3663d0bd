// The settings file as anything at all: loaded, read through every typed accessor for
// every key it holds and every key the program uses, then changed once. The change
// keeps every other key as it was; a file that held no JSON object is kept aside whole
// before it is replaced.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <QJsonDocument>
#include <QJsonObject>

#include "app/einstellungen.h"
#include "basis/ordner.h"
#include "umgebung.h"

namespace klebwerk::fuzz {
namespace {

const char* const bekannteSchluessel[] = {
    "pausiert",   "absenden",    "diktatAn",     "diktatSenden",   "aufnahmen",     "papierkorb",
    "feldSichtbar", "listeOffen", "kuerzelOffen", "feldMini",       "toene",         "sprache",
    "vorschauVorher", "testBefehle", "ziele",      "zielKennungen",  "zielPid",       "zielNummer",
    "abgewaehlt", "autoApps",    "knopfRolle",   "knopfLabel",     "knopfKlassen",  "diktatRolle",
    "diktatLabel", "diktatKlassen", "kuerzel.diktat", "kuerzel.senden", "",
};

struct Ort {
    test::TempHeim heim;
    std::string datei = einstellungsDatei();
};

Ort& ort() {
    static Ort* o = [] {
        starteQt();
        auto* neu = new Ort;
        legeOrdnerAn(std::filesystem::path(neu->datei).parent_path().string());
        return neu;
    }();
    return *o;
}

void liesAlles(const Einstellungen& ud, const std::string& k) {
    (void)ud.wert(k);
    (void)ud.istWahr(k);
    (void)ud.istWahrOder(k, true);
    (void)ud.text(k);
    (void)ud.ganzzahl(k);
    (void)ud.zahlen(k);
    (void)ud.texte(k);
    (void)ud.zahlenListen(k);
}

QJsonObject ohne(QJsonObject o, const QString& k) {
    o.remove(k);
    return o;
}

}  // namespace
}  // namespace klebwerk::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    using namespace klebwerk;
    using namespace klebwerk::fuzz;
    Ort& o = ort();
    const std::string inhalt(reinterpret_cast<const char*>(daten), groesse);
    std::error_code ignoriert;
    std::filesystem::remove(o.datei + ".defekt", ignoriert);
    std::ofstream(o.datei, std::ios::binary | std::ios::trunc) << inhalt;
    leereProtokoll();

    Einstellungen ud(o.datei);
    ud.registriereStandards(QJsonObject{{"diktatSenden", true}, {"aufnahmen", true}, {"feldSichtbar", true}});
    for (const char* k : bekannteSchluessel) liesAlles(ud, k);
    QJsonParseError fehler{};
    const QJsonDocument vorher = QJsonDocument::fromJson(QByteArray::fromStdString(inhalt), &fehler);
    const bool objekt = fehler.error == QJsonParseError::NoError && vorher.isObject();
    if (objekt) {
        for (const QString& k : vorher.object().keys()) liesAlles(ud, k.toStdString());
    }

    ud.setzeWahr("pausiert", !ud.istWahr("pausiert"));
    const std::string danach = test::TempHeim::lies(o.datei);
    if (!istJsonObjekt(danach)) verletzt("nach dem Schreiben kein JSON-Objekt", inhalt);
    const QJsonObject neu = QJsonDocument::fromJson(QByteArray::fromStdString(danach)).object();
    if (objekt) {
        if (ohne(neu, "pausiert") != ohne(vorher.object(), "pausiert"))
            verletzt("ein anderer Schlüssel hat sich beim Schreiben geändert", inhalt);
    } else if (test::TempHeim::lies(o.datei + ".defekt") != inhalt) {
        verletzt("die unlesbare Datei ist nicht aufbewahrt", inhalt);
    }
    protokollZeilen(o.heim.protokoll(), inhalt);
    return 0;
}
