#include <algorithm>

#include "basis/atomar.h"
#include "basis/prozesswerte.h"
#include "app/steuerung.h"
#include "panel/bedienfeld.h"
#include "diagnostics/status.h"
#include "input/kuerzel.h"

namespace klebwerk {

void Steuerung::schreibeStatus() {
    StatusDaten d;
    d.freigabe = vertraut;
    d.pausiert = pausiert();
    d.absenden = absenden();
    d.wacheLaeuft = wacheLaeuft;
    d.letzteZustellung = letzteZustellung;
    d.ordner = waechter.ordner;
    d.modus = modusName(modus);
    d.verbunden = namen();
    if (ziel) {
        // The active target is one of the connected ones: its name is in that list.
        auto it = std::find(verbunden.begin(), verbunden.end(), ziel);
        d.ziel = StatusDaten::Zielangabe{ziel->appName, ziel->titel, ziel->pid,
                                         it != verbunden.end() ? d.verbunden[it - verbunden.begin()] : name(ziel)};
    }
    d.knopf = gespeichertesMerkmal(ud, KnopfArt::vorlesen);
    d.diktatKnopf = gespeichertesMerkmal(ud, KnopfArt::diktat);
    d.diktat = diktat();
    d.diktatSenden = diktatSenden();
    d.diktatLaeuft = diktatLaeuft;
    d.aufnahmen = aufnahmen();
    d.feldSichtbar = feldSichtbar();
    d.papierkorb = papierkorb();
    if (auto k = gespeichertesKuerzel(ud, KuerzelArt::diktat)) d.kuerzelDiktat = k->text;
    if (auto k = gespeichertesKuerzel(ud, KuerzelArt::senden)) d.kuerzelSenden = k->text;
    if (kuerzelLernen) d.kuerzelLernen = kuerzelArtName(*kuerzelLernen);

    if (feldSichtbar()) feld().aktualisiere();
    QByteArray json = statusJson(d);
    schreibeAtomar(datenOrdner() + "/status.json", std::string_view(json.constData(), static_cast<size_t>(json.size())));
}

}  // namespace klebwerk
