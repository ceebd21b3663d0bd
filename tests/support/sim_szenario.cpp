#include "support/sim_szenario.h"

namespace klebwerk::test {
namespace {

void baue(sim::SimKnoten& eltern, const SzElement& e, Rechteck& platz) {
    std::map<std::string, Wert> a{{"AXEnabled", true}};
    if (!e.titel.empty()) a[e.rolle == "AXStaticText" ? "AXValue" : "AXTitle"] = e.titel;
    if (!e.beschreibung.empty()) a["AXDescription"] = e.beschreibung;
    sim::SimKnoten& k = eltern.kind(e.rolle, a);
    if (e.rolle == "AXButton") k.aktionen = {"AXPress"};
    Rechteck r{platz.x, platz.y, platz.breite, 24};
    platz.y += 28;
    for (const SzElement& kind : e.kinder) baue(k, kind, platz);
    r.hoehe = std::max(24.0, platz.y - r.y - 4);
    k.rahmen(r);
}

}  // namespace

sim::SimKnoten& baueFenster(sim::SimDesktop& d, int pid, const SzFenster& f) {
    sim::SimKnoten& w = d.oeffneFenster(pid, f.titel, f.rahmen);
    Rechteck platz{f.rahmen.x + 10, f.rahmen.y + 30, f.rahmen.breite - 20, 0};
    for (const SzElement& e : f.inhalt) baue(w, e, platz);
    return w;
}

sim::SimKnoten& starteApp(sim::SimDesktop& d, int pid, const std::string& name, const std::string& kennung,
                          const std::string& pfad) {
    return d.starteAnwendung(Anwendung{pid, kennung, pfad.empty() ? "/usr/bin/" + name : pfad, name,
                                       Aktivierungsart::regulaer});
}

}  // namespace klebwerk::test
