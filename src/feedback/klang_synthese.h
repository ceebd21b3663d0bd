#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "feedback/klang_art.h"

namespace klebwerk {

inline constexpr double klangRate = 44100.0;

// One tone of a sound: from `start` seconds into the sound for `dauer` seconds, an
// exponential glide from f0 to f1 Hz under a decay of `abfall` per second, scaled by
// `verstaerkung`; with `rauschen`, a noise burst of that amplitude over its first 12 ms.
struct KlangSegment {
    double start;
    double dauer;
    double f0;
    double f1;
    double abfall;
    double verstaerkung;
    std::optional<double> rauschen;
};

// A uniformly distributed number in [−L, L] for the amplitude L.
using Zufall = std::function<double(double)>;

// Seconds as a number of samples at 44100 Hz (the tables' durations are whole counts).
long probenZahl(double sekunden);

// The one or two segments of a sound.
std::vector<KlangSegment> segmenteVon(KlangArt art);

// Adds one segment into `puffer` (long enough for it).
void schreibeSegment(std::vector<double>& puffer, const KlangSegment& s, const Zufall& zufall);

// The samples (nominally −1…1) of the segments, summed where they overlap; as long
// as the end of the last segment.
std::vector<double> synthetisiere(const std::vector<KlangSegment>& segmente, const Zufall& zufall);

// A fresh uniform source seeded from the system's random device.
Zufall systemZufall();

}  // namespace klebwerk
