#include "delivery/tastendruck.h"

#include <string>

#include "basis/protokoll.h"
#include "platform/eingabe.h"

namespace klebwerk {

std::uint64_t stoerendeFlaggen(Eingabe& eingabe, std::uint64_t flaggen) {
    return eingabe.gehalteneFlaggen() & flagge::modifikatoren & ~eingabe.eigeneFlaggen(flaggen);
}

void drueckeTaste(Eingabe& eingabe, const Planer& nach, Tastendruck d, std::function<void()> gesendet, int versuche) {
    const std::uint64_t stoerend = stoerendeFlaggen(eingabe, d.flaggen);
    if (stoerend && versuche > 0) {
        nach(loslassTakt, [&eingabe, nach, d, gesendet = std::move(gesendet), versuche]() mutable {
            drueckeTaste(eingabe, nach, d, std::move(gesendet), versuche - 1);
        });
        return;
    }
    if (stoerend) protokoll("Taste " + std::to_string(d.code) + " gesendet, obwohl noch Umschalttasten gehalten werden");
    eingabe.taste(d.code, d.flaggen, d.pid);
    if (gesendet) gesendet();
}

}  // namespace klebwerk
