#include "panel/zeit_kurve.h"

#include <algorithm>
#include <cmath>

namespace klebwerk {
namespace {

// One coordinate of the Bézier at parameter s, with end points 0 and 1.
double bezier(double p1, double p2, double s) {
    const double r = 1 - s;
    return 3 * r * r * s * p1 + 3 * r * s * s * p2 + s * s * s;
}

double steigung(double p1, double p2, double s) {
    const double r = 1 - s;
    return 3 * r * r * p1 + 6 * r * s * (p2 - p1) + 3 * s * s * (1 - p2);
}

}  // namespace

double ZeitKurve::operator()(double zeitAnteil) const {
    const double x = std::clamp(zeitAnteil, 0.0, 1.0);
    // The parameter whose x is the time share: Newton steps, bisection where the
    // slope is too flat for them.
    double s = x;
    for (int i = 0; i < 8; ++i) {
        const double fehler = bezier(x1, x2, s) - x;
        if (std::abs(fehler) < 1e-7) return bezier(y1, y2, s);
        const double d = steigung(x1, x2, s);
        if (std::abs(d) < 1e-6) break;
        s = std::clamp(s - fehler / d, 0.0, 1.0);
    }
    double unten = 0, oben = 1;
    s = x;
    for (int i = 0; i < 40; ++i) {
        const double wert = bezier(x1, x2, s);
        if (std::abs(wert - x) < 1e-7) break;
        (wert < x ? unten : oben) = s;
        s = (unten + oben) / 2;
    }
    return bezier(y1, y2, s);
}

}  // namespace klebwerk
