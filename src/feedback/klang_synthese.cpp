#include "feedback/klang_synthese.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <numbers>
#include <random>

namespace klebwerk {

long probenZahl(double sekunden) { return std::lround(sekunden * klangRate); }

std::vector<KlangSegment> segmenteVon(KlangArt art) {
    switch (art) {
        case KlangArt::klick: return {{0, 0.05, 1500, 650, 90, 0.22, 0.35}};
        case KlangArt::an: return {{0, 0.09, 620, 1180, 38, 0.24, 0.15}};
        case KlangArt::aus: return {{0, 0.09, 900, 470, 38, 0.22, 0.15}};
        case KlangArt::zu:
            return {{0, 0.28, 1150, 170, 9, 0.24, std::nullopt}, {0.25, 0.06, 420, 260, 60, 0.20, 0.2}};
        case KlangArt::auf:
            return {{0, 0.06, 260, 420, 60, 0.18, 0.2}, {0.03, 0.30, 190, 1050, 8, 0.22, std::nullopt}};
        case KlangArt::aktivAn:
            return {{0, 0.08, 660, 700, 35, 0.22, std::nullopt}, {0.09, 0.12, 990, 1050, 25, 0.22, std::nullopt}};
        case KlangArt::aktivAus:
            return {{0, 0.08, 990, 940, 35, 0.22, std::nullopt}, {0.09, 0.14, 520, 470, 22, 0.22, std::nullopt}};
    }
    return {};
}

void schreibeSegment(std::vector<double>& puffer, const KlangSegment& s, const Zufall& zufall) {
    const long versatz = probenZahl(s.start);
    const long n = probenZahl(s.dauer);
    const double D = s.dauer;
    const double verhaeltnis = s.f1 / s.f0;
    double phase = 0;
    for (long i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / klangRate;
        const double f = s.f0 * std::pow(verhaeltnis, t / D);
        // The phase moves on before it is used: the first sample is already one step in.
        phase += 2 * std::numbers::pi * f / klangRate;
        const double huelle = std::exp(-s.abfall * t) * std::min(t / 0.003, 1.0) * std::min((D - t) / 0.01, 1.0);
        double welle = std::sin(phase) + 0.25 * std::sin(2 * phase);
        if (s.rauschen && t < 0.012) welle += (1 - t / 0.012) * zufall(*s.rauschen);
        puffer[static_cast<size_t>(versatz + i)] += huelle * welle * s.verstaerkung;
    }
}

std::vector<double> synthetisiere(const std::vector<KlangSegment>& segmente, const Zufall& zufall) {
    std::vector<double> puffer;
    for (const KlangSegment& s : segmente) {
        const auto ende = static_cast<size_t>(probenZahl(s.start) + probenZahl(s.dauer));
        if (puffer.size() < ende) puffer.resize(ende, 0.0);
        schreibeSegment(puffer, s, zufall);
    }
    return puffer;
}

Zufall systemZufall() {
    auto erzeuger = std::make_shared<std::mt19937_64>(std::random_device{}());
    return [erzeuger](double amplitude) {
        // Both ends of [−L, L] belong to it: the upper bound is taken just above L.
        std::uniform_real_distribution<double> gleich(-amplitude,
                                                      std::nextafter(amplitude, std::numeric_limits<double>::max()));
        return std::min(gleich(*erzeuger), amplitude);
    };
}

}  // namespace klebwerk
