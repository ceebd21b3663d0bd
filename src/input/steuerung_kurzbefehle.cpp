// The global shortcuts: the fixed ⌃⌥S that starts choosing a target, and the
// dispatch of every hot key by its id.

#include "basis/protokoll.h"
#include "app/sprache.h"
#include "app/steuerung.h"
#include "input/abgriff_regel.h"

namespace klebwerk {

namespace {
constexpr std::uint32_t wahlKuerzel = 1;
constexpr std::uint32_t diktatKuerzel = 2;
constexpr std::uint32_t sendenKuerzel = 3;
}  // namespace

void Steuerung::registriereKurzbefehl() {
    // The handler only hands the id on: the work runs on the main queue afterwards.
    plattform.kuerzel.beiDruck([this](std::uint32_t id) { nach(0, [this, id] { kuerzelGedrueckt(id); }); });
    const int status = plattform.kuerzel.registriere(wahlKuerzel, tasteS, carbon::control | carbon::option);
    if (status == 0) kurzbefehl = wahlKuerzel;
    protokoll("Kürzel ⌃⌥S registriert: " + std::to_string(status));
}

void Steuerung::kuerzelGedrueckt(std::uint32_t id) {
    switch (id) {
        case wahlKuerzel:
            zielWahlStarten();
            break;
        case diktatKuerzel:
            diktatPerKuerzel();
            break;
        case sendenKuerzel:
            if (ziel) {
                protokoll("Kürzel: senden");
                sende(ziel, false);
            } else {
                hinweis.zeige(L("Kein Zielfenster gewählt", "No target window chosen"), 2.0);
            }
            break;
        default:
            break;
    }
}

// Recording a shortcut comes with the shortcut recording.
void Steuerung::kuerzelTaste(std::uint16_t, std::uint64_t, const AbgriffEreignis&) {}

}  // namespace klebwerk
