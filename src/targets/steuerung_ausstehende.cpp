// Stored targets whose windows were not there at start connect when they show up.

#include <algorithm>

#include "basis/protokoll.h"
#include "app/steuerung.h"
#include "targets/zielspeicher.h"

namespace klebwerk {

void Steuerung::pruefeAusstehende() {
    if (ausstehend.empty()) return;
    const auto laufend = kennungenNachPid(plattform.arbeitsplatz);
    const auto vorher = ausstehend.size();
    std::erase_if(ausstehend, [&](const Ausstehend& a) {
        return !eintragImBereich(a.eintrag) || !laufend.count(static_cast<int>(a.eintrag[0]));
    });
    // The stored list forgets them now: their process ids may soon be another program's.
    if (ausstehend.size() != vorher) speichereZiele();
    if (ausstehend.empty()) return;

    const auto automatisch = autoApps();
    bool verbundenNeu = false;
    for (const Ausstehend& a : std::vector<Ausstehend>(ausstehend)) {
        // A window number 0 was unreadable when stored and matches no window.
        if (a.eintrag[1] == 0) continue;
        auto app = laufend.find(static_cast<int>(a.eintrag[0]));
        if (app == laufend.end() || !eintragGehoertZu(a.kennung, app->second, automatisch)) continue;
        auto z = findeFenster(a.eintrag);
        if (!z) continue;
        beobachte(z);
        const auto stelle = std::min<std::size_t>(static_cast<std::size_t>(std::max(a.index, 0L)), verbunden.size());
        verbunden.insert(verbunden.begin() + static_cast<std::ptrdiff_t>(stelle), z);
        std::erase_if(ausstehend, [&](const Ausstehend& b) { return b.eintrag == a.eintrag; });
        protokoll("Nachträglich verbunden: " + z->anzeige());
        verbundenNeu = true;
    }
    if (!verbundenNeu) return;
    if (!ziel && !verbunden.empty()) {
        aktiviere(verbunden.front(), false);
        return;
    }
    speichereZiele();
    aktualisiereLeiste();
}

}  // namespace klebwerk
