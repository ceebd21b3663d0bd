#include "intake/waechter.h"

#include <algorithm>
#include <cmath>

#include "basis/ordner.h"
#include "basis/protokoll.h"
#include "intake/fangordner.h"

namespace klebwerk {
namespace {

// Scans after every folder event.
constexpr double nachEreignis[] = {0.1, 0.4, 1.5, 4.0};
// A scan already due this close to a new one covers it (a burst of events schedules
// each scan once).
constexpr double zusammenfassen = 0.01;
// Retry for a missing folder whose parents cannot be watched either.
constexpr double erwartungsTakt = 2.0;

std::string elternOrdner(const std::string& pfad) {
    size_t schraeg = pfad.rfind('/');
    if (schraeg == std::string::npos) return {};
    if (schraeg == 0) return pfad.size() > 1 ? "/" : std::string();
    return pfad.substr(0, schraeg);
}

}  // namespace

Waechter::Waechter(Plattform& plattform)
    : arten(Aufnahmearten::mit(plattform.werkzeug.namen())), plattform_(plattform) {
    Fangordner f = bestimmeFangordner(plattform.praeferenzen, heimOrdner());
    ordner = f.ordner;
    alleOrdner = f.alleOrdner;
}

void Waechter::start() {
    for (const auto& o : alleOrdner) {
        std::string fehler;
        if (plattform_.dateien.liste(o, puffer_, fehler)) {
            for (const auto& e : puffer_) gesehen.insert(o + "/" + e.name);
        }
        if (!beobachte(o) && !plattform_.dateien.stand(o)) erwarte(o);
        protokoll("Beobachte " + o);
    }
}

bool Waechter::beobachte(const std::string& o) {
    if (quellen.count(o)) return true;
    std::string fehler;
    Marke quelle =
        plattform_.ordner.beobachte(o, [this, o](const OrdnerEreignis& e) { ereignis(o, e); }, fehler);
    if (!quelle.aktiv()) {
        protokoll("Ordner nicht lesbar: " + o + " \u2013 " + fehler);
        return false;
    }
    quellen.emplace(o, std::move(quelle));
    return true;
}

void Waechter::ereignis(const std::string& o, const OrdnerEreignis& e) {
    using Art = OrdnerEreignis::Art;
    std::string pfad = e.name.empty() ? std::string() : o + "/" + e.name;
    bool offenFuerUns = !pfad.empty() && !gesehen.count(pfad);
    switch (e.art) {
        case Art::angelegt:
            if (offenFuerUns) {
                offen_.insert(pfad);
                fertig_.erase(pfad);
            }
            break;
        case Art::geschlossen:
        case Art::hineinbewegt:
            if (offenFuerUns) {
                offen_.erase(pfad);
                fertig_.insert(pfad);
                if (vollstaendig && arten.art(e.name) == AufnahmeArt::bild &&
                    arten.istAufnahmeName(e.name, AufnahmeArt::bild))
                    vollstaendig(pfad);
            }
            break;
        case Art::entfernt:
            offen_.erase(pfad);
            fertig_.erase(pfad);
            break;
        case Art::ueberlauf:
            // Lost events: who still writes is unknown now; sizes decide.
            offen_.clear();
            break;
        case Art::verschwunden:
            // The folder is gone; watched for until it is back. Drops the running source.
            quellen.erase(o);
            erwarte(o);
            return;
        case Art::geaendert:
            break;
    }
    planePruefungen();
}

void Waechter::planePruefungen() {
    for (double s : nachEreignis) planePruefung(s);
}

void Waechter::planePruefung(double sekunden) {
    double faellig = plattform_.schleife.jetzt() + sekunden;
    for (const auto& [nr, g] : geplant_) {
        if (std::abs(g.faellig - faellig) <= zusammenfassen) return;
    }
    std::uint64_t nr = ++naechsteNummer_;
    geplant_.emplace(nr, Geplant{faellig, plattform_.schleife.nach(sekunden, [this, nr] {
                                     // Forget the token first; the work itself stays alive while it runs.
                                     auto it = geplant_.find(nr);
                                     if (it != geplant_.end()) {
                                         Marke m = std::move(it->second.marke);
                                         geplant_.erase(it);
                                         pruefen();
                                     }
                                 })});
}

void Waechter::setze(const std::string& pfad) {
    gesehen.insert(pfad);
    groessen.erase(pfad);
    bildStaende_.erase(pfad);
    fertig_.erase(pfad);
    offen_.erase(pfad);
}

void Waechter::pruefen() {
    std::vector<Treffer> treffer;
    std::string pfad;
    for (const auto& o : alleOrdner) {
        std::string fehler;
        if (!plattform_.dateien.liste(o, puffer_, fehler)) continue;
        std::vector<DateiEintrag> eintraege = std::move(puffer_);
        // The folder's part of every path is written once; each name only replaces the rest.
        pfad.assign(o).push_back('/');
        const size_t stamm = pfad.size();
        for (const auto& e : eintraege) {
            if (e.name.empty() || e.name[0] == '.') continue;
            pfad.resize(stamm);
            pfad.append(e.name);
            if (gesehen.find(pfad) != gesehen.end()) continue;
            pruefeDatei(e.name, pfad, treffer);
        }
        puffer_ = std::move(eintraege);
    }
    // Captures found together are reported in the order they were made.
    std::sort(treffer.begin(), treffer.end(), [](const Treffer& a, const Treffer& b) {
        if (a.zeit != b.zeit) return a.zeit < b.zeit;
        if (a.name != b.name) return a.name < b.name;
        return a.pfad < b.pfad;
    });
    for (const auto& t : treffer) {
        if (neu) neu(t.pfad);
    }
}

void Waechter::pruefeDatei(const std::string& name, const std::string& pfad, std::vector<Treffer>& treffer) {
    DateiBlick b;
    b.name = name;
    b.art = arten.art(name);
    if (b.art == AufnahmeArt::keine) {
        setze(pfad);
        return;
    }
    b.aufnahmeName = arten.istAufnahmeName(name, b.art);
    b.stand = plattform_.dateien.stand(pfad);
    b.hatMerkmal = [this, &pfad] { return plattform_.dateien.attribut(pfad, aufnahmeMerkmal).has_value(); };
    b.videosErlaubt = [this] { return !videosErlaubt || videosErlaubt(); };
    b.fertigGemeldet = fertig_.count(pfad) > 0;
    b.offenGemeldet = offen_.count(pfad) > 0;
    auto& staende = b.art == AufnahmeArt::video ? groessen : bildStaende_;
    if (auto it = staende.find(pfad); it != staende.end()) b.vorher = it->second;
    b.wanduhr = plattform_.schleife.wanduhr();
    b.jetzt = plattform_.schleife.jetzt();

    Urteil u = beurteile(b);
    switch (u.tat) {
        case Urteil::Tat::setzen:
            setze(pfad);
            break;
        case Urteil::Tat::melden:
            setze(pfad);
            treffer.push_back({u.dateizeit, name, pfad});
            break;
        case Urteil::Tat::warten:
            if (u.merke) {
                staende[pfad] = *u.merke;
            } else {
                staende.erase(pfad);
            }
            break;
    }
    if (u.nachpruefen > 0) planePruefung(u.nachpruefen);
}

bool Waechter::nimmAuf(const std::string& o) {
    // Watch first, then list: what is in the folder now counts as existing, and
    // every later change comes as an event.
    if (!beobachte(o)) return false;
    std::string fehler;
    if (plattform_.dateien.liste(o, puffer_, fehler)) {
        for (const auto& e : puffer_) {
            std::string pfad = o + "/" + e.name;
            if (!gesehen.count(pfad)) setze(pfad);
        }
    }
    erwartet_.erase(o);  // drops the watch on its parent, possibly the one running now
    protokoll("Beobachte " + o);
    return true;
}

void Waechter::erwarte(const std::string& o) {
    for (int runde = 0; runde < 32; ++runde) {
        if (auto s = plattform_.dateien.stand(o); s && (s->ordner || s->verweis)) {
            if (nimmAuf(o)) return;
        }
        // The nearest parent that exists.
        std::string vorfahr = elternOrdner(o);
        while (!vorfahr.empty()) {
            auto s = plattform_.dateien.stand(vorfahr);
            if (s && (s->ordner || s->verweis)) break;
            vorfahr = elternOrdner(vorfahr);
        }
        Erwartung& e = erwartet_[o];
        if (e.quelle.aktiv() && e.vorfahr == vorfahr) return;
        e.vorfahr = vorfahr;
        std::string fehler;
        e.quelle = vorfahr.empty() ? Marke()
                                   : plattform_.ordner.beobachte(
                                         vorfahr, [this, o](const OrdnerEreignis&) { erwarte(o); }, fehler);
        if (!e.quelle.aktiv()) {
            if (!e.uhr.aktiv()) e.uhr = plattform_.schleife.wiederhole(erwartungsTakt, [this, o] { erwarte(o); });
            return;
        }
        e.uhr.aufheben();
        // Once more: the folder or a deeper parent may have appeared meanwhile.
    }
}

}  // namespace klebwerk
