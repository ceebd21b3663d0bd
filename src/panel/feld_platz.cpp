#include "panel/feld_platz.h"

#include <cmath>

#include "panel/feld_rahmen.h"

namespace klebwerk {

Rechteck feldPlatz(const std::optional<Rechteck>& gespeichert, const std::vector<Bildschirm>& bildschirme,
                   double breite, double hoehe) {
    if (gespeichert) return inSichtbaremBereich({gespeichert->x, gespeichert->y, breite, gespeichert->hoehe}, bildschirme);
    if (bildschirme.empty()) return {0, 0, breite, hoehe};
    const Rechteck& v = bildschirme.front().sichtbar;
    return {v.x + v.breite - 290, v.y + 20, breite, hoehe};
}

std::optional<Rechteck> gepassteHoehe(const Rechteck& r, double hoehe) {
    if (std::abs(r.hoehe - hoehe) <= 0.5) return std::nullopt;
    return Rechteck{r.x, r.y, r.breite, hoehe};
}

}  // namespace klebwerk
