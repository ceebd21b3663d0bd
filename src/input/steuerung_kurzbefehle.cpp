// The global shortcuts: the fixed ⌃⌥S that starts choosing a target, the two recorded
// ones, and the dispatch of every hot key by its id.

#include "basis/protokoll.h"
#include "app/sprache.h"
#include "app/steuerung.h"
#include "input/abgriff_regel.h"

namespace klebwerk {

namespace {
constexpr std::uint32_t wahlKuerzel = 1;
}  // namespace

void Steuerung::registriereKurzbefehl() {
    // The handler only hands the id on: the work runs on the main queue afterwards.
    plattform.kuerzel.beiDruck([this](std::uint32_t id) { nach(0, [this, id] { kuerzelGedrueckt(id); }); });
    const int status = plattform.kuerzel.registriere(wahlKuerzel, tasteS, carbon::control | carbon::option);
    if (status == 0) kurzbefehl = wahlKuerzel;
    protokoll("Kürzel ⌃⌥S registriert: " + std::to_string(status));
    for (KuerzelArt art : alleKuerzelArten) meldeKuerzelAn(art);
}

int Steuerung::meldeKuerzelAn(KuerzelArt art) {
    const std::uint32_t id = kuerzelId(art);
    if (kuerzelRefs.erase(id)) plattform.kuerzel.entferne(id);
    auto k = kuerzel(art);
    if (!k) return 0;
    const int status = plattform.kuerzel.registriere(id, static_cast<std::uint16_t>(k->code), k->mods);
    if (status == 0) kuerzelRefs.insert(id);
    protokoll("Kürzel " + kuerzelArtName(art) + " " + k->text + " angemeldet: " + std::to_string(status));
    return status;
}

void Steuerung::kuerzelGedrueckt(std::uint32_t id) {
    if (id == wahlKuerzel) {
        zielWahlStarten();
    } else if (id == kuerzelId(KuerzelArt::diktat)) {
        diktatPerKuerzel();
    } else if (id == kuerzelId(KuerzelArt::senden)) {
        if (ziel) {
            protokoll("Kürzel: senden");
            sende(ziel, false);
        } else {
            hinweis.zeige(L("Kein Zielfenster gewählt", "No target window chosen"), 2.0);
        }
    }
}

}  // namespace klebwerk
