#include "panel/flug.h"

#include <algorithm>

#include "panel/zeit_kurve.h"

namespace klebwerk {
namespace {

double zwischen(double a, double b, double anteil) { return a + (b - a) * anteil; }

// The rectangle of the given centre and size.
Rechteck umMitte(Punkt mitte, double breite, double hoehe) {
    return {mitte.x - breite / 2, mitte.y - hoehe / 2, breite, hoehe};
}

Rechteck zwischen(const Rechteck& a, const Rechteck& b, double lage, double groesse) {
    Punkt ma = a.mitte(), mb = b.mitte();
    return umMitte({zwischen(ma.x, mb.x, lage), zwischen(ma.y, mb.y, lage)}, zwischen(a.breite, b.breite, groesse),
                   zwischen(a.hoehe, b.hoehe, groesse));
}

constexpr double eckeDesFelds = 16;
constexpr double sogDeckkraft = 0.15;
constexpr double einblendDauer = 0.15;
constexpr double einblendAnfang = 0.3;
constexpr double eckenDauer = 0.25;

}  // namespace

Flug::Flug(Rechteck feld, Rechteck scheibe, bool aufgehen)
    : feld_(feld), scheibe_(scheibe), aufgehen_(aufgehen),
      dauer_(aufgehen ? aufgehFeder().ruhezeit() : sogDauer) {}

FlugBild Flug::bei(double t) const {
    t = std::clamp(t, 0.0, dauer_);
    if (aufgehen_ && t >= dauer_) return {feld_, eckeDesFelds, 1};
    if (!aufgehen_) {
        // As if sucked in: slow at first, fast at the end.
        const double weg = ZeitKurve{0.6, 0.0, 0.9, 0.4}(t / sogDauer);
        return {zwischen(feld_, scheibe_, weg, weg), zwischen(eckeDesFelds, scheibe_.breite / 2, weg),
                zwischen(1.0, sogDeckkraft, weg)};
    }
    const double weg = aufgehFeder().wert(t);
    return {zwischen(scheibe_, feld_, weg, weg),
            zwischen(scheibe_.breite / 2, eckeDesFelds, std::min(t / eckenDauer, 1.0)),
            zwischen(einblendAnfang, 1.0, std::min(t / einblendDauer, 1.0))};
}

}  // namespace klebwerk
