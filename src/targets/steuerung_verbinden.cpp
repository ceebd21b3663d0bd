#include <limits>
#include <set>

#include "app/steuerung.h"
#include "targets/fenster_suche.h"

namespace klebwerk {

long Steuerung::freierPlatz() const {
    std::set<long> belegt;
    for (const auto& z : verbunden) belegt.insert(z->platz);
    long n = 1;
    while (belegt.count(n)) ++n;
    return n;
}

long Steuerung::platzFuer(std::optional<long> bevorzugt) const {
    if (bevorzugt && *bevorzugt >= 1) {
        bool frei = true;
        for (const auto& z : verbunden) frei = frei && z->platz != *bevorzugt;
        if (frei) return *bevorzugt;
    }
    return freierPlatz();
}

std::shared_ptr<Ziel> Steuerung::verbundenMit(const Element& fenster) const {
    for (const auto& z : verbunden) {
        if (z->fenster == fenster) return z;
    }
    return nullptr;
}

bool Steuerung::verbinde(const std::shared_ptr<Ziel>& z, std::optional<long> bevorzugt) {
    if (!z || verbundenMit(z->fenster)) return false;
    z->platz = platzFuer(bevorzugt);
    beobachte(z);
    verbunden.push_back(z);
    return true;
}

std::shared_ptr<Ziel> Steuerung::findeFenster(const std::vector<std::int64_t>& eintrag) {
    if (eintrag.size() < 2) return nullptr;
    const std::int64_t pid = eintrag[0], nummer = eintrag[1];
    if (pid < std::numeric_limits<int>::min() || pid > std::numeric_limits<int>::max()) return nullptr;
    if (nummer < 0 || nummer > std::numeric_limits<std::uint32_t>::max()) return nullptr;
    Element app = ax.anwendung(static_cast<int>(pid));
    ax.setzeZeitlimit(app, scanZeitlimit);
    auto fenster = ax.elemente(app, "AXWindows");
    if (!fenster) return nullptr;
    for (const Element& f : *fenster) {
        auto n = ax.fensterNummer(f);
        if (!n || *n != nummer) continue;
        if (verbundenMit(f)) return nullptr;
        auto z = std::make_shared<Ziel>(ax, plattform.arbeitsplatz, f, static_cast<int>(pid));
        std::optional<long> bevorzugt;
        if (eintrag.size() >= 3) bevorzugt = static_cast<long>(eintrag[2]);
        z->platz = platzFuer(bevorzugt);
        return z;
    }
    return nullptr;
}

}  // namespace klebwerk
