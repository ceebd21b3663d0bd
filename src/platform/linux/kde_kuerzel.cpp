#include "platform/linux/kde_kuerzel.h"

#include <vector>

#include "platform/eingabe.h"
#include "platform/linux/desktop_taste.h"
#include "platform/linux/linux_praeferenzen.h"

namespace klebwerk::linuxdesk {

namespace {

const std::string spectacle = "org.kde.spectacle.desktop";

SystemKuerzelLesung mitStand(SystemKuerzelLesung::Stand stand, const std::string& fehler = {}) {
    SystemKuerzelLesung l;
    l.stand = stand;
    l.fehler = fehler;
    return l;
}

// The first of the alternatives, which KConfig separates by a tab (written "\t").
std::string erste(const std::string& wert) {
    size_t ende = std::min(wert.find('\t'), wert.find("\\t"));
    return ende == std::string::npos ? wert : wert.substr(0, ende);
}

}  // namespace

SystemKuerzelLesung kdeKombination(const std::string& text) {
    std::uint64_t flaggen = 0;
    std::string rest = text;
    // The modifiers, each followed by "+"; the last part is the key (which may be "+").
    while (true) {
        size_t plus = rest.find('+');
        if (plus == std::string::npos || plus == 0) break;
        const std::string teil = rest.substr(0, plus);
        std::uint64_t f = teil == "Meta" ? flagge::befehl
                          : teil == "Ctrl" ? flagge::control
                          : teil == "Alt"  ? flagge::option
                          : teil == "Shift" ? flagge::umschalt
                                            : 0;
        if (!f) break;
        flaggen |= f;
        rest = rest.substr(plus + 1);
    }
    auto keysym = keysymAusName(rest);
    if (!keysym) return mitStand(SystemKuerzelLesung::Stand::fehler, "unbekannte Taste: " + text);
    return gesetzt(flaggen, *keysym);
}

SystemKuerzelLesung spectacleKuerzel(const std::string& inhalt, const std::string& aktion,
                                     const std::string& werkseitig) {
    std::optional<std::string> wert = iniWert(inhalt, "services][" + spectacle, aktion);
    if (!wert) {
        wert = iniWert(inhalt, spectacle, aktion);
        // Plasma 5: "current,default,description".
        if (wert) wert = wert->substr(0, wert->find(','));
    }
    std::string aktuell = erste(wert.value_or(werkseitig));
    if (aktuell.empty() || aktuell == "none") return mitStand(SystemKuerzelLesung::Stand::aus);
    return kdeKombination(aktuell);
}

}  // namespace klebwerk::linuxdesk
