#include "platform/wayland/sway_platzhalter.h"

#include <string>

#include "basis/protokoll.h"

namespace klebwerk::wayland {

namespace {

void meldeEinmal(std::atomic<bool>& gemeldet, const std::string& dienst) {
    if (!gemeldet.exchange(true)) protokoll(dienst + " is not available in this sway session yet");
}

}  // namespace

Marke FehlenderAbgriff::starte(const AbgriffRegel&, std::function<void(const AbgriffEreignis&)>) {
    meldeEinmal(gemeldet_, "The event tap");
    return {};
}

int FehlendeTastenkuerzel::registriere(std::uint32_t, std::uint16_t, std::uint32_t) {
    meldeEinmal(gemeldet_, "Global shortcuts");
    return nichtVerfuegbar;
}

void FehlendeEigeneFenster::schwebend(std::uint64_t) {
    meldeEinmal(gemeldet_, "Keeping own windows above the others");
}

}  // namespace klebwerk::wayland
