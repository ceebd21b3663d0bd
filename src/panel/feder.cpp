#include "panel/feder.h"

#include <algorithm>
#include <cmath>

namespace klebwerk {
namespace {

constexpr double ruheAbstand = 1e-3;

// The distance to the end, u = value − 1, solves m·u'' + c·u' + k·u = 0 with u(0) = −1
// and u'(0) = the start speed. `huelle` bounds |u| from t on.
struct Loesung {
    double abstand;
    double huelle;
};

Loesung loese(const Feder& f, double t) {
    const double m = f.masse > 0 ? f.masse : 1;
    const double k = std::max(f.steifigkeit, 1e-9);
    const double c = std::max(f.daempfung, 0.0);
    const double w0 = std::sqrt(k / m);
    const double zeta = c / (2 * std::sqrt(k * m));
    const double a = -1;
    const double v0 = f.anfangsTempo;
    if (zeta < 1 - 1e-9) {
        const double wd = w0 * std::sqrt(1 - zeta * zeta);
        const double b = (v0 + zeta * w0 * a) / wd;
        const double abklingen = std::exp(-zeta * w0 * t);
        return {abklingen * (a * std::cos(wd * t) + b * std::sin(wd * t)), abklingen * std::hypot(a, b)};
    }
    if (zeta <= 1 + 1e-9) {
        const double b = v0 + w0 * a;
        const double abklingen = std::exp(-w0 * t);
        return {abklingen * (a + b * t), abklingen * (std::abs(a) + std::abs(b) * t)};
    }
    const double wurzel = std::sqrt(zeta * zeta - 1);
    const double r1 = -w0 * (zeta - wurzel);
    const double r2 = -w0 * (zeta + wurzel);
    const double c2 = (v0 - r1 * a) / (r2 - r1);
    const double c1 = a - c2;
    const double e1 = std::exp(r1 * t);
    const double e2 = std::exp(r2 * t);
    return {c1 * e1 + c2 * e2, std::abs(c1) * e1 + std::abs(c2) * e2};
}

}  // namespace

double Feder::wert(double t) const { return 1 + loese(*this, std::max(t, 0.0)).abstand; }

double Feder::ruhezeit() const {
    // Steps of a millisecond until the bound of the distance itself is below the
    // threshold; the last moment the distance reached it is the answer.
    constexpr double schritt = 1e-3;
    constexpr double hoechstens = 120;
    double zuletztAussen = 0;
    for (double t = 0; t < hoechstens; t += schritt) {
        Loesung l = loese(*this, t);
        if (std::abs(l.abstand) >= ruheAbstand) zuletztAussen = t + schritt;
        if (l.huelle < ruheAbstand) break;
    }
    return std::min(zuletztAussen, hoechstens);
}

}  // namespace klebwerk
