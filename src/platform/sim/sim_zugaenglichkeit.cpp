#include "platform/sim/sim_zugaenglichkeit.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "platform/sim/sim_desktop.h"

namespace klebwerk::sim {

SimKnoten& SimKnoten::kind(const std::string& rolle, std::map<std::string, Wert> attrs) {
    auto k = ax_.neuerKnoten(pid_);
    k->attribute = std::move(attrs);
    k->attribute["AXRole"] = rolle;
    k->eltern = this;
    kinder.push_back(k);
    return *k;
}

SimKnoten& SimKnoten::rahmen(Rechteck r) {
    attribute["AXPosition"] = Punkt{r.x, r.y};
    attribute["AXSize"] = Groesse{r.breite, r.hoehe};
    return *this;
}

std::optional<Rechteck> SimKnoten::rahmen() const {
    auto p = attribute.find("AXPosition");
    auto g = attribute.find("AXSize");
    if (p == attribute.end() || g == attribute.end()) return std::nullopt;
    const Punkt* pp = p->second.als<Punkt>();
    const Groesse* gg = g->second.als<Groesse>();
    if (!pp || !gg) return std::nullopt;
    return Rechteck{pp->x, pp->y, gg->breite, gg->hoehe};
}

Element SimKnoten::element() const {
    if (!eltern && attribute.count("AXRole") && *attribute.at("AXRole").als<std::string>() == "AXApplication") {
        return Element{Element::Art::anwendung, pid_, "", ""};
    }
    return Element{Element::Art::objekt, pid_, "sim", pfad_};
}

std::string SimKnoten::rolle() const {
    auto it = attribute.find("AXRole");
    if (it == attribute.end()) return {};
    const std::string* s = it->second.als<std::string>();
    return s ? *s : std::string();
}

void SimKnoten::sterbe() {
    tot = true;
    for (auto& k : kinder) k->sterbe();
}

SimZugaenglichkeit::Anwendungsbaum& SimZugaenglichkeit::baum(int pid) {
    auto& b = baeume_[pid];
    if (!b.wurzel) {
        b.wurzel = neuerKnoten(pid);
        b.wurzel->attribute["AXRole"] = std::string("AXApplication");
    }
    return b;
}

SimZugaenglichkeit::Anwendungsbaum* SimZugaenglichkeit::findeBaum(int pid) {
    auto it = baeume_.find(pid);
    return it == baeume_.end() ? nullptr : &it->second;
}

void SimZugaenglichkeit::entferneBaum(int pid) {
    if (auto* b = findeBaum(pid)) b->wurzel->sterbe();
    baeume_.erase(pid);
}

std::shared_ptr<SimKnoten> SimZugaenglichkeit::neuerKnoten(int pid) {
    auto k = std::make_shared<SimKnoten>(*this, ++naechsteId_, pid);
    index_.push_back({k.get(), k});
    return k;
}

SimKnoten* SimZugaenglichkeit::knoten(const Element& e) {
    if (e.art == Element::Art::anwendung) {
        auto* b = findeBaum(e.pid);
        return b ? b->wurzel.get() : nullptr;
    }
    if (e.art != Element::Art::objekt || e.bus != "sim" || e.pfad.size() < 2) return nullptr;
    // The path is "/" and the id; anything else is read the lenient way.
    std::int64_t id = 0;
    const char* ende = e.pfad.data() + e.pfad.size();
    auto [bis, fehler] = std::from_chars(e.pfad.data() + 1, ende, id);
    if (fehler != std::errc() || bis != ende) id = std::strtoll(e.pfad.c_str() + 1, nullptr, 10);
    if (id <= 0 || id >= static_cast<std::int64_t>(index_.size()) || index_[id].schwach.expired()) return nullptr;
    SimKnoten* k = index_[id].knoten;
    if (k->tot || k->pid() != e.pid) return nullptr;
    return k;
}

bool SimZugaenglichkeit::vertraut(bool nachfragen) {
    d_.journal.schreibe(nachfragen ? "ax.vertraut nachfragen" : "ax.vertraut");
    if (nachfragen && freigabeBeiNachfrage) freigabe = true;
    return freigabe;
}

Element SimZugaenglichkeit::anwendung(int pid) { return Element{Element::Art::anwendung, pid, "", ""}; }
Element SimZugaenglichkeit::systemweit() { return Element{Element::Art::systemweit, 0, "", ""}; }

bool SimZugaenglichkeit::anfrage(const Element& e, double frist) {
    if (e.art == Element::Art::systemweit) return true;
    auto* b = findeBaum(e.pid);
    if (!b) return false;
    ++anfragen;
    letzteFrist = frist;
    double kosten = b->haengt ? std::numeric_limits<double>::infinity() : b->kosten;
    if (kosten <= frist) {
        d_.uhr.verbrauche(kosten);
        return true;
    }
    d_.uhr.verbrauche(std::max(0.0, frist));
    ++zeitUeberschreitungen;
    return false;
}

Wert SimZugaenglichkeit::abgeleitet(const SimKnoten& k, const std::string& a) {
    if (!k.fehlerhaft.empty() && k.fehlerhaft.count(a)) return {};
    // Compared as views: a name of another length is passed over without reading it.
    const std::string_view n = a;
    if (n == "AXChildren" || (n == "AXWindows" && !k.eltern)) {
        WertListe liste;
        liste.reserve(k.kinder.size());
        for (const auto& kind : k.kinder) {
            if (n == "AXWindows" && kind->rolle() != "AXWindow") continue;
            liste.push_back(kind->element());
        }
        return liste;
    }
    if (n == "AXParent") return k.eltern ? Wert(k.eltern->element()) : Wert();
    if (n == "AXWindow") {
        const SimKnoten* w = &k;
        while (w && w->rolle() != "AXWindow") w = w->eltern;
        return w ? Wert(w->element()) : Wert();
    }
    if (n == "AXFocused" && !k.attribute.count(a)) {
        auto* b = findeBaum(k.pid());
        if (b) return b->fokus.get() == &k;
    }
    if (n == "AXFocusedUIElement" && !k.eltern) {
        auto* b = findeBaum(k.pid());
        return b && b->fokus && !b->fokus->tot ? Wert(b->fokus->element()) : Wert();
    }
    if (n == "AXFocusedWindow" && !k.eltern) {
        for (const auto& kind : k.kinder) {
            if (kind->rolle() == "AXWindow") return kind->element();
        }
        return {};
    }
    if (n == "AXFrontmost" && !k.eltern) return d_.arbeitsplatz.vorne == k.pid();
    // Few attributes per element: passing over the names of another length is cheaper
    // than comparing along the tree.
    if (k.attribute.size() <= 8) {
        for (const auto& [name, wert] : k.attribute) {
            if (name.size() == n.size() && name == n) return wert;
        }
        return {};
    }
    auto it = k.attribute.find(a);
    return it == k.attribute.end() ? Wert() : it->second;
}

Wert SimZugaenglichkeit::lies(const Element& e, const std::string& attribut, double frist) {
    if (e.art == Element::Art::systemweit) {
        if (attribut == "AXFocusedApplication" && d_.arbeitsplatz.vorne) return anwendung(*d_.arbeitsplatz.vorne);
        return {};
    }
    SimKnoten* k = knoten(e);
    if (!k || !anfrage(e, frist)) return {};
    return abgeleitet(*k, attribut);
}

std::vector<Wert> SimZugaenglichkeit::liesMehrere(const Element& e, const std::vector<std::string>& attribute,
                                                  double frist) {
    SimKnoten* k = knoten(e);
    if (!k || !anfrage(e, frist)) return std::vector<Wert>(attribute.size());
    std::vector<Wert> werte;
    werte.reserve(attribute.size());
    for (const std::string& a : attribute) werte.push_back(abgeleitet(*k, a));
    return werte;
}

std::vector<std::string> SimZugaenglichkeit::attributNamen(const Element& e, double frist) {
    SimKnoten* k = knoten(e);
    if (!k || !anfrage(e, frist)) return {};
    std::set<std::string> namen{"AXChildren", "AXParent", "AXFocused"};
    for (const auto& [name, wert] : k->attribute) namen.insert(name);
    if (!k->eltern) namen.insert({"AXWindows", "AXFocusedWindow", "AXFocusedUIElement", "AXFrontmost"});
    return {namen.begin(), namen.end()};
}

bool SimZugaenglichkeit::schreibe(const Element& e, const std::string& attribut, const Wert& wert, double frist) {
    SimKnoten* k = knoten(e);
    if (!k || !anfrage(e, frist)) return false;
    d_.journal.schreibe("ax.setze " + e.pfad + " " + attribut);
    const bool* an = wert.als<bool>();
    if (attribut == "AXFocused" && an) {
        auto& b = baum(k->pid());
        if (*an) b.fokus = std::static_pointer_cast<SimKnoten>(index_[k->id()].schwach.lock());
        else if (b.fokus.get() == k) b.fokus.reset();
        return true;
    }
    if (attribut == "AXMain" && an && *an && k->eltern) {
        auto& geschwister = k->eltern->kinder;
        auto it = std::find_if(geschwister.begin(), geschwister.end(), [k](auto& g) { return g.get() == k; });
        std::rotate(geschwister.begin(), it, it + 1);
        return true;
    }
    if (attribut == "AXFrontmost" && an && *an && !k->eltern) return d_.arbeitsplatz.aktiviere(k->pid(), false);
    k->attribute[attribut] = wert;
    return true;
}

bool SimZugaenglichkeit::fuehreAus(const Element& e, const std::string& aktion, double frist) {
    SimKnoten* k = knoten(e);
    if (!k || !anfrage(e, frist)) return false;
    if (aktion == "AXRaise" && k->nummer != 0) {
        d_.journal.schreibe("ax.aktion " + e.pfad + " AXRaise");
        d_.hebeFenster(k->nummer);
        return true;
    }
    if (std::find(k->aktionen.begin(), k->aktionen.end(), aktion) == k->aktionen.end()) return false;
    d_.journal.schreibe("ax.aktion " + e.pfad + " " + aktion);
    ++k->gedrueckt;
    return true;
}

SimKnoten* SimZugaenglichkeit::tiefstesBei(SimKnoten& k, Punkt p) {
    for (auto it = k.kinder.rbegin(); it != k.kinder.rend(); ++it) {
        auto r = (*it)->rahmen();
        if (r && r->enthaelt(p)) return tiefstesBei(**it, p);
    }
    return &k;
}

std::optional<Element> SimZugaenglichkeit::elementBei(const Element& wurzel, Punkt punkt, double frist) {
    if (wurzel.art == Element::Art::systemweit) {
        for (const FensterInfo& f : d_.fensterliste.fenster()) {
            if (!f.rahmen.enthaelt(punkt)) continue;
            auto* b = findeBaum(f.pid);
            if (!b) return std::nullopt;
            return elementBei(b->wurzel->element(), punkt, frist);
        }
        return std::nullopt;
    }
    SimKnoten* k = knoten(wurzel);
    if (!k || !anfrage(wurzel, frist)) return std::nullopt;
    for (const auto& w : k->kinder) {
        auto r = w->rahmen();
        if (r && r->enthaelt(punkt)) return tiefstesBei(*w, punkt)->element();
    }
    return std::nullopt;
}

std::int64_t SimZugaenglichkeit::fensterNummer(const Element& fenster) {
    SimKnoten* k = knoten(fenster);
    return k ? k->nummer : 0;
}

std::optional<std::vector<Element>> SimZugaenglichkeit::kandidatenRueckwaerts(const Element& wurzel,
                                                                               const std::vector<std::string>& rollen,
                                                                               std::size_t hoechstens, double frist) {
    if (!kandidatenAbfrage) return std::nullopt;
    SimKnoten* k = knoten(wurzel);
    if (!k || !anfrage(wurzel, frist)) return std::vector<Element>{};
    // Document order (each element before its descendants), then reversed.
    std::vector<SimKnoten*> ordnung;
    std::function<void(SimKnoten&)> sammle = [&](SimKnoten& n) {
        ordnung.push_back(&n);
        for (auto& kind : n.kinder) sammle(*kind);
    };
    sammle(*k);
    std::vector<Element> ergebnis;
    for (auto it = ordnung.rbegin(); it != ordnung.rend(); ++it) {
        // A dead element has no role any more.
        if (rollen.empty() || (!(*it)->tot && std::find(rollen.begin(), rollen.end(), (*it)->rolle()) != rollen.end())) {
            ergebnis.push_back((*it)->element());
            if (hoechstens > 0 && ergebnis.size() >= hoechstens) break;
        }
    }
    return ergebnis;
}

bool SimZugaenglichkeit::kandidatenGenau(const Element&, const std::vector<std::string>&) { return kandidatenAbfrage; }

Marke SimZugaenglichkeit::beobachte(int pid, const Element& element, const std::vector<std::string>& namen,
                                    Meldung meldung) {
    SimKnoten* k = knoten(element);
    if (!k) return {};
    d_.journal.schreibe("ax.beobachte " + element.pfad);
    int nr = ++naechsteBeobachtung_;
    (*beobachtungen_)[nr] = {k->id(), namen, std::make_shared<Meldung>(std::move(meldung))};
    return Marke([schwach = std::weak_ptr(beobachtungen_), nr] {
        if (auto b = schwach.lock()) b->erase(nr);
    });
}

void SimZugaenglichkeit::melde(const SimKnoten& k, const std::string& name) {
    for (const auto& [nr, b] : *beobachtungen_) {
        if (b.knoten != k.id() || std::find(b.namen.begin(), b.namen.end(), name) == b.namen.end()) continue;
        std::weak_ptr<Meldung> schwach = b.meldung;
        Element e = k.element();
        d_.uhr.aufHaupt([schwach, name, e] {
            if (auto m = schwach.lock()) (*m)(name, e);
        });
    }
}

}  // namespace klebwerk::sim
