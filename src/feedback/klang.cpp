#include "feedback/klang.h"

#include "basis/atomar.h"
#include "feedback/wav.h"

namespace klebwerk {

Klang::Klang(Klangspieler& spieler, Einstellungen& ud, Zufall zufall)
    : spieler_(spieler), ud_(ud), zufall_(std::move(zufall)) {}

bool Klang::an() const { return ud_.istWahrOder("toene", true); }

void Klang::setzeAn(bool wert) { ud_.setzeWahr("toene", wert); }

std::string Klang::erzeuge(KlangArt art) const { return wav(synthetisiere(segmenteVon(art), zufall_)); }

const std::string& Klang::daten(KlangArt art) {
    auto it = daten_.find(art);
    if (it == daten_.end()) it = daten_.emplace(art, erzeuge(art)).first;
    return it->second;
}

void Klang::spiele(KlangArt art, bool auchWennAus) {
    if (!auchWennAus && !an()) return;
    spieler_.spiele(daten(art));
}

void Klang::speichere(const std::string& ordner) {
    for (KlangArt art : alleKlangArten) schreibeAtomar(ordner + "/klang-" + klangName(art) + ".wav", erzeuge(art));
}

}  // namespace klebwerk
