#include "targets/zielspeicher.h"

#include <limits>

#include "targets/fenster_suche.h"

namespace klebwerk {

std::map<int, std::string> kennungenNachPid(Arbeitsplatz& arbeitsplatz) {
    std::map<int, std::string> kennungen;
    for (const Anwendung& a : arbeitsplatz.laufende()) {
        kennungen[a.pid] = kennungVon(a);
    }
    return kennungen;
}

bool eintragImBereich(const std::vector<std::int64_t>& eintrag) {
    if (eintrag.size() < 2) return false;
    return eintrag[0] > 0 && eintrag[0] <= std::numeric_limits<int>::max() && eintrag[1] >= 0 &&
           eintrag[1] <= std::numeric_limits<std::uint32_t>::max();
}

bool eintragGehoertZu(const std::string& gespeicherteKennung, const std::string& laufendeKennung,
                      const std::set<std::string>& autoApps) {
    if (laufendeKennung.empty()) return false;
    if (!gespeicherteKennung.empty()) return laufendeKennung == gespeicherteKennung;
    return autoApps.count(laufendeKennung) > 0;
}

}  // namespace klebwerk
