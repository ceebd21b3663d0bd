#include "assist/diktat_wache.h"

namespace klebwerk {

namespace {
// A button that never changes: dictation is taken as begun after this long.
constexpr double mindestLaufzeit = 4.0;
constexpr double ruheNachLauf = 1.2;
constexpr double ruheOhneLauf = 3.0;
constexpr double ohneTextNach = 25.0;
}  // namespace

WachenSchritt werteAus(DiktatWache& w, bool knopfDa, const std::string& text, double jetzt) {
    if (!w.anfangsText) w.anfangsText = text;
    if (text != w.letzterText) {
        w.letzterText = text;
        w.letzteAenderung = jetzt;
    }
    const bool neuerText = !text.empty() && text != *w.anfangsText;
    if (!knopfDa) {
        // The button turned into its recording state.
        w.laufendGesehen = true;
        w.zurueckSeit.reset();
        return WachenSchritt::weiter;
    }
    if (!w.laufendGesehen && !(jetzt - w.start > mindestLaufzeit && neuerText)) return WachenSchritt::weiter;
    if (!w.zurueckSeit) w.zurueckSeit = jetzt;
    const double ruhe = jetzt - w.letzteAenderung;
    if (neuerText) {
        return ruhe >= (w.laufendGesehen ? ruheNachLauf : ruheOhneLauf) ? WachenSchritt::senden : WachenSchritt::weiter;
    }
    return jetzt - *w.zurueckSeit > ohneTextNach ? WachenSchritt::ohneText : WachenSchritt::weiter;
}

}  // namespace klebwerk
