#include "assist/vorlese_wache.h"

namespace klebwerk {

namespace {
// How long the answer must be finished, and the pointer at rest, before the press.
constexpr double fertigWartezeit = 1.0;
constexpr double ruheWartezeit = 1.0;
constexpr int hoechsteVersuche = 3;
// Ticks a whole second apart may differ from it in the last bits.
constexpr double spiel = 1e-9;
}  // namespace

VorleseSchritt werteAus(VorleseWache& w, bool stoppKnopfDa, double jetzt, double zeigerRuhe) {
    if (stoppKnopfDa) {
        const bool neu = !w.antwortLaeuft;
        w.antwortLaeuft = true;
        w.fertigSeit.reset();
        w.versuche = 0;
        return neu ? VorleseSchritt::antwortLaeuft : VorleseSchritt::nichts;
    }
    if (!w.antwortLaeuft) return VorleseSchritt::nichts;  // no answer has started yet
    if (!w.fertigSeit) {
        w.fertigSeit = jetzt;
        return VorleseSchritt::antwortFertig;
    }
    if (jetzt - *w.fertigSeit + spiel >= fertigWartezeit && zeigerRuhe + spiel >= ruheWartezeit)
        return VorleseSchritt::springen;
    return VorleseSchritt::nichts;
}

int zaehleFehlversuch(VorleseWache& w) {
    const int nummer = ++w.versuche;
    if (w.versuche >= hoechsteVersuche) {
        w.antwortLaeuft = false;
        w.fertigSeit.reset();
        w.versuche = 0;
    }
    return nummer;
}

}  // namespace klebwerk
