#include "ax/cocoa_rahmen.h"

namespace klebwerk {

Rechteck cocoaRahmen(const Rechteck& r, double h) { return {r.x, h - (r.y + r.hoehe), r.breite, r.hoehe}; }

Rechteck cocoaRahmen(const Rechteck& r, Bildschirme& bildschirme) {
    auto alle = bildschirme.alle();
    return cocoaRahmen(r, alle.empty() ? 0.0 : alle.front().rahmen.hoehe);
}

}  // namespace klebwerk
