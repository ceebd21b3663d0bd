#include "targets/fenster_suche.h"

#include <cmath>
#include <limits>

namespace klebwerk {

namespace {
bool brauchbar(const FensterInfo& f) {
    if (f.nummer < 0 || f.nummer > std::numeric_limits<std::uint32_t>::max()) return false;
    const Rechteck& r = f.rahmen;
    return std::isfinite(r.x) && std::isfinite(r.y) && std::isfinite(r.breite) && std::isfinite(r.hoehe) &&
           r.breite >= 0 && r.hoehe >= 0;
}
}  // namespace

std::optional<FensterTreffer> fensterUnter(Fensterliste& liste, int eigenePid, Punkt punkt) {
    for (const FensterInfo& f : liste.fenster()) {
        if (f.schicht != 0 || f.pid == eigenePid || !brauchbar(f)) continue;
        if (f.rahmen.enthaelt(punkt)) return FensterTreffer{f.pid, static_cast<std::uint32_t>(f.nummer), f.rahmen};
    }
    return std::nullopt;
}

std::optional<FensterInfo> obersterBei(Fensterliste& liste, Punkt punkt) {
    for (FensterInfo& f : liste.fenster()) {
        if (brauchbar(f) && f.rahmen.enthaelt(punkt)) return std::move(f);
    }
    return std::nullopt;
}

bool liegtObenIn(Fensterliste& liste, int pid, std::optional<std::uint32_t> nummer, Punkt punkt) {
    auto f = obersterBei(liste, punkt);
    if (!f || f->pid != pid) return false;
    return !nummer || *nummer == 0 || *nummer == f->nummer;
}

std::optional<Element> axFenster(const AX& ax, int pid, std::uint32_t nummer, const Rechteck& rahmen) {
    Element app = ax.anwendung(pid);
    auto fenster = ax.elemente(app, "AXWindows");
    if (!fenster) return std::nullopt;
    for (const Element& f : *fenster) {
        auto n = ax.fensterNummer(f);
        if (n && *n == nummer) return f;
    }
    for (const Element& f : *fenster) {
        auto r = ax.rahmen(f);
        if (r && std::abs(r->x - rahmen.x) < 2 && std::abs(r->y - rahmen.y) < 2 &&
            std::abs(r->breite - rahmen.breite) < 2 && std::abs(r->hoehe - rahmen.hoehe) < 2) {
            return f;
        }
    }
    return std::nullopt;
}

std::vector<FensterEintrag> alleFenster(const AX& ax, Arbeitsplatz& arbeitsplatz) {
    std::vector<FensterEintrag> liste;
    const int eigene = arbeitsplatz.eigenePid();
    for (const Anwendung& a : arbeitsplatz.laufende()) {
        // The program itself runs as an accessory; its own process is left out even if a
        // backend listed it as regular.
        if (a.art != Aktivierungsart::regulaer || a.pid == eigene) continue;
        Element app = ax.anwendung(a.pid);
        ax.setzeZeitlimit(app, scanZeitlimit);
        auto fenster = ax.elemente(app, "AXWindows");
        if (!fenster) continue;
        const std::string name = a.name.empty() ? std::string("App") : a.name;
        for (const Element& f : *fenster) {
            if (ax.text(f, "AXSubrole") != "AXStandardWindow") continue;
            liste.push_back({a.pid, f, name, ax.text(f, "AXTitle").value_or("")});
        }
    }
    return liste;
}

std::string kennungVon(const Anwendung& a) { return a.kennung.empty() ? a.pfad : a.kennung; }

std::optional<std::string> appKennung(Arbeitsplatz& arbeitsplatz, int pid) {
    auto a = arbeitsplatz.anwendung(pid);
    if (!a || kennungVon(*a).empty()) return std::nullopt;
    return kennungVon(*a);
}

}  // namespace klebwerk
