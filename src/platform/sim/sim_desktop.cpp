#include "platform/sim/sim_desktop.h"

#include <algorithm>

namespace klebwerk::sim {

int Journal::position(const std::string& anfang) const {
    for (size_t i = 0; i < eintraege_.size(); ++i) {
        if (eintraege_[i].rfind(anfang, 0) == 0) return static_cast<int>(i);
    }
    return -1;
}

SimDesktop::SimDesktop() = default;

Plattform SimDesktop::plattform() {
    return Plattform{uhr,          ax,          fensterliste, arbeitsplatz, ablage, eingabe, abgriff,
                     kuerzel,      praeferenzen, bildschirme, anmeldeobjekt, neustart, klang, befehle,
                     sprachen,     *ordnerDienst, *dateiDienst, beendigung, werkzeug, systemkuerzel, eigeneFenster};
}

SimKnoten& SimDesktop::starteAnwendung(const Anwendung& a) {
    journal.schreibe("desktop.starte " + std::to_string(a.pid));
    arbeitsplatz.anwendungen.push_back(a);
    auto& b = ax.baum(a.pid);
    b.wurzel->attribute["AXTitle"] = a.name;
    return *b.wurzel;
}

SimKnoten& SimDesktop::oeffneFenster(int pid, const std::string& titel, Rechteck rahmen, const std::string& subrolle) {
    auto& wurzel = *ax.baum(pid).wurzel;
    SimKnoten& w = wurzel.kind("AXWindow", {{"AXTitle", titel}, {"AXSubrole", subrolle}});
    w.rahmen(rahmen);
    w.nummer = naechsteNummer_++;
    // The newest window is the application's first.
    std::rotate(wurzel.kinder.begin(), wurzel.kinder.end() - 1, wurzel.kinder.end());
    fensterKnoten_[w.nummer] = wurzel.kinder.front();
    std::string besitzer;
    for (const auto& a : arbeitsplatz.anwendungen) {
        if (a.pid == pid) besitzer = a.name;
    }
    fensterliste.liste.insert(fensterliste.liste.begin(), FensterInfo{w.nummer, pid, 0, rahmen, titel, besitzer});
    journal.schreibe("desktop.fenster " + std::to_string(w.nummer));
    return w;
}

std::uint32_t SimDesktop::zeigeFlaeche(int pid, int schicht, Rechteck rahmen, const std::string& titel) {
    std::string besitzer;
    for (const auto& a : arbeitsplatz.anwendungen) {
        if (a.pid == pid) besitzer = a.name;
    }
    const std::uint32_t nummer = naechsteNummer_++;
    fensterliste.liste.insert(fensterliste.liste.begin(), FensterInfo{nummer, pid, schicht, rahmen, titel, besitzer});
    return nummer;
}

SimKnoten* SimDesktop::fensterKnoten(std::uint32_t nummer) {
    auto it = fensterKnoten_.find(nummer);
    return it == fensterKnoten_.end() || it->second->tot ? nullptr : it->second.get();
}

void SimDesktop::hebeFenster(std::uint32_t nummer) {
    auto& l = fensterliste.liste;
    auto it = std::find_if(l.begin(), l.end(), [nummer](const FensterInfo& f) { return f.nummer == nummer; });
    if (it != l.end()) std::rotate(l.begin(), it, it + 1);
    if (SimKnoten* k = fensterKnoten(nummer); k && k->eltern) {
        auto& g = k->eltern->kinder;
        auto kt = std::find_if(g.begin(), g.end(), [k](auto& x) { return x.get() == k; });
        std::rotate(g.begin(), kt, kt + 1);
    }
}

void SimDesktop::schliesseFenster(std::uint32_t nummer) {
    journal.schreibe("desktop.schliesse " + std::to_string(nummer));
    auto& l = fensterliste.liste;
    l.erase(std::remove_if(l.begin(), l.end(), [nummer](const FensterInfo& f) { return f.nummer == nummer; }), l.end());
    SimKnoten* k = fensterKnoten(nummer);
    if (!k) return;
    ax.melde(*k, "AXUIElementDestroyed");
    k->sterbe();
    if (k->eltern) {
        auto& g = k->eltern->kinder;
        g.erase(std::remove_if(g.begin(), g.end(), [k](auto& x) { return x.get() == k; }), g.end());
    }
    fensterKnoten_.erase(nummer);
}

void SimDesktop::setzeTitel(std::uint32_t nummer, const std::string& titel) {
    for (auto& f : fensterliste.liste) {
        if (f.nummer == nummer) f.titel = titel;
    }
    SimKnoten* k = fensterKnoten(nummer);
    if (!k) return;
    k->setze("AXTitle", titel);
    ax.melde(*k, "AXTitleChanged");
}

void SimDesktop::beendeAnwendung(int pid) {
    journal.schreibe("desktop.beende " + std::to_string(pid));
    std::vector<std::uint32_t> nummern;
    for (const auto& [nr, k] : fensterKnoten_) {
        if (k->pid() == pid) nummern.push_back(nr);
    }
    for (auto nr : nummern) schliesseFenster(nr);
    auto& l = fensterliste.liste;
    l.erase(std::remove_if(l.begin(), l.end(), [pid](const FensterInfo& f) { return f.pid == pid; }), l.end());
    ax.entferneBaum(pid);
    arbeitsplatz.beende(pid);
}

std::optional<Anwendung> SimArbeitsplatz::vorderste() {
    if (!vorne) return std::nullopt;
    for (const auto& a : anwendungen) {
        if (a.pid == *vorne) return a;
    }
    return std::nullopt;
}

bool SimArbeitsplatz::aktiviere(int pid, bool) {
    d_.journal.schreibe("arbeitsplatz.aktiviere " + std::to_string(pid));
    for (const auto& a : anwendungen) {
        if (a.pid != pid) continue;
        if (aktivierungsDauer <= 0) {
            vorne = pid;
        } else {
            aktivierung_ = d_.uhr.nach(aktivierungsDauer, [this, pid] { vorne = pid; });
        }
        return true;
    }
    return false;
}

void SimArbeitsplatz::beende(int pid) {
    for (auto it = anwendungen.begin(); it != anwendungen.end(); ++it) {
        if (it->pid != pid) continue;
        Anwendung app = *it;
        anwendungen.erase(it);
        if (vorne == pid) vorne.reset();
        for (const auto& [nr, rueckruf] : beendetRueckrufe_) {
            d_.uhr.aufHaupt([this, nr = nr, app] {
                if (auto f = beendetRueckrufe_.find(nr); f != beendetRueckrufe_.end()) f->second(app);
            });
        }
        return;
    }
}

Marke SimArbeitsplatz::beiBeendet(std::function<void(const Anwendung&)> rueckruf) {
    d_.journal.schreibe("arbeitsplatz.beiBeendet");
    int nr = ++naechsterRueckruf_;
    beendetRueckrufe_[nr] = std::move(rueckruf);
    return Marke([this, nr] { beendetRueckrufe_.erase(nr); });
}

bool SimArbeitsplatz::oeffne(const std::string& link) {
    d_.journal.schreibe("arbeitsplatz.oeffne " + link);
    geoeffnet.push_back(link);
    return true;
}

bool SimArbeitsplatz::inPapierkorb(const std::string& pfad, std::string&) {
    d_.journal.schreibe("arbeitsplatz.papierkorb " + pfad);
    papierkorb.push_back(pfad);
    return true;
}

Marke SimAbgriff::starte(const AbgriffRegel& r, std::function<void(const AbgriffEreignis&)> handler) {
    d_.journal.schreibe(r.nurTasten ? "abgriff.starte nurTasten" : "abgriff.starte");
    if (!moeglich) return {};
    regel = r;
    handler_ = std::move(handler);
    return Marke([this] {
        regel.reset();
        handler_ = nullptr;
    });
}

bool SimAbgriff::simuliere(AbgriffEreignis e) {
    if (!regel || !handler_) return false;
    bool istMaus = e.art != EreignisArt::tasteRunter && e.art != EreignisArt::tasteHoch &&
                   e.art != EreignisArt::flaggenGeaendert;
    if (regel->nurTasten && istMaus) return false;
    e.geschluckt = nimmt(*regel, e.art, e.code);
    d_.uhr.aufHaupt([this, e] {
        if (handler_) handler_(e);
    });
    return true;
}

int SimTastenkuerzel::registriere(std::uint32_t id, std::uint16_t code, std::uint32_t mods) {
    d_.journal.schreibe("kuerzel.registriere " + std::to_string(id));
    // A new registration under an id replaces the old one, also when it fails.
    registriert.erase(id);
    if (status != 0) return status;
    if (belegt.count({code, mods})) return vergeben;
    registriert[id] = {code, mods};
    return 0;
}

bool SimTastenkuerzel::druecke(std::uint16_t code, std::uint32_t mods) {
    for (const auto& [id, e] : registriert) {
        if (e.code == code && e.mods == mods && handler_) {
            d_.uhr.aufHaupt([this, id = id] {
                if (handler_) handler_(id);
            });
            return true;
        }
    }
    return false;
}

Wert SimPraeferenzen::lies(const std::string& d, const std::string& k) {
    auto dom = domaenen.find(d);
    if (dom == domaenen.end()) return {};
    auto it = dom->second.find(k);
    return it == dom->second.end() ? Wert{} : it->second;
}

void SimPraeferenzen::schreibe(const std::string& d, const std::string& k, const Wert& w) {
    if (w.fehlt()) {
        domaenen[d].erase(k);
    } else {
        domaenen[d][k] = w;
    }
}

int SimAnmeldeobjekt::status() {
    d_.journal.schreibe("anmeldeobjekt.status");
    return wert;
}

Marke SimBefehlskanal::hoere(std::function<void(const std::string&)> handler) {
    d_.journal.schreibe("befehle.hoere");
    handler_ = std::make_shared<std::function<void(const std::string&)>>(std::move(handler));
    return Marke([this] { handler_.reset(); });
}

bool SimBefehlskanal::sende(const std::string& text) {
    if (!handler_) return false;
    std::weak_ptr<std::function<void(const std::string&)>> schwach = handler_;
    d_.uhr.aufHaupt([schwach, text] {
        if (auto h = schwach.lock()) (*h)(text);
    });
    return true;
}

Marke SimBeendigung::beiSignal(std::function<void()> handler) {
    d_.journal.schreibe("beendigung.beiSignal");
    handler_ = std::make_shared<std::function<void()>>(std::move(handler));
    return Marke([this] { handler_.reset(); });
}

bool SimBeendigung::signal() {
    if (!handler_) return false;
    std::weak_ptr<std::function<void()>> schwach = handler_;
    d_.uhr.aufHaupt([schwach] {
        if (auto h = schwach.lock()) (*h)();
    });
    return true;
}

Marke SimOrdnerereignisse::beobachte(const std::string& ordner, std::function<void(const OrdnerEreignis&)> handler,
                                     std::string& fehler) {
    d_.journal.schreibe("ordner.beobachte " + ordner);
    if (auto g = gesperrt.find(ordner); g != gesperrt.end()) {
        fehler = g->second;
        return {};
    }
    auto s = d_.dateiDienst->stand(ordner);
    if (!s || !(s->ordner || s->verweis)) {
        fehler = s ? "Not a directory" : "No such file or directory";
        return {};
    }
    std::uint64_t nr = ++naechstes_;
    abos_[nr] = {ordner, std::make_shared<std::function<void(const OrdnerEreignis&)>>(std::move(handler))};
    return Marke([this, nr] { abos_.erase(nr); });
}

void SimOrdnerereignisse::zustellen(std::uint64_t nr, const OrdnerEreignis& e) {
    auto it = abos_.find(nr);
    if (it == abos_.end()) return;
    Handler h = it->second.handler;  // alive while it runs, even if it drops its token
    if (e.art == OrdnerEreignis::Art::verschwunden) abos_.erase(it);
    (*h)(e);
}

bool SimOrdnerereignisse::melde(const std::string& ordner, OrdnerEreignis e) {
    bool jemand = false;
    for (const auto& [nr, abo] : abos_) {
        if (abo.ordner != ordner) continue;
        jemand = true;
        d_.uhr.aufHaupt([this, nr = nr, e] { zustellen(nr, e); });
    }
    return jemand;
}

void SimOrdnerereignisse::meldeUeberlauf() {
    for (const auto& [nr, abo] : abos_) {
        d_.uhr.aufHaupt([this, nr = nr] { zustellen(nr, {OrdnerEreignis::Art::ueberlauf, {}}); });
    }
}

bool SimOrdnerereignisse::beobachtet(const std::string& ordner) const {
    for (const auto& [nr, abo] : abos_) {
        if (abo.ordner == ordner) return true;
    }
    return false;
}

void SimDateiinfo::legeOrdnerAn(const std::string& pfad) {
    DateiStand s;
    s.ordner = true;
    eintraege_[pfad].stand = s;
}

void SimDateiinfo::lege(const std::string& pfad, const DateiStand& stand) { eintraege_[pfad].stand = stand; }

void SimDateiinfo::entferne(const std::string& pfad) {
    eintraege_.erase(pfad);
    std::string innen = pfad + "/";
    for (auto it = eintraege_.lower_bound(innen); it != eintraege_.end() && it->first.rfind(innen, 0) == 0;) {
        it = eintraege_.erase(it);
    }
}

void SimDateiinfo::setzeAttribut(const std::string& pfad, const std::string& name, const std::string& wert) {
    if (auto* e = eintrag(pfad)) e->attribute[name] = wert;
}

SimDateiinfo::Eintrag* SimDateiinfo::eintrag(const std::string& pfad) {
    auto it = eintraege_.find(pfad);
    return it == eintraege_.end() ? nullptr : &it->second;
}

bool SimDateiinfo::liste(const std::string& ordner, std::vector<DateiEintrag>& eintraege, std::string& fehler) {
    ++listen;
    eintraege.clear();
    if (auto u = unlesbar.find(ordner); u != unlesbar.end()) {
        fehler = u->second;
        return false;
    }
    auto selbst = eintraege_.find(ordner);
    if (selbst == eintraege_.end() || !selbst->second.stand.ordner) {
        fehler = selbst == eintraege_.end() ? "No such file or directory" : "Not a directory";
        return false;
    }
    std::string innen = ordner + "/";
    for (auto it = eintraege_.lower_bound(innen); it != eintraege_.end() && it->first.rfind(innen, 0) == 0; ++it) {
        std::string name = it->first.substr(innen.size());
        if (name.find('/') != std::string::npos) continue;
        const DateiStand& s = it->second.stand;
        eintraege.push_back({std::move(name), s.regulaer, s.ordner, s.verweis});
    }
    return true;
}

std::optional<DateiStand> SimDateiinfo::stand(const std::string& pfad) {
    ++staende;
    if (unlesbar.count(pfad)) return std::nullopt;
    auto it = eintraege_.find(pfad);
    if (it == eintraege_.end()) return std::nullopt;
    return it->second.stand;
}

std::optional<std::string> SimDateiinfo::attribut(const std::string& pfad, const std::string& name) {
    ++attributFragen;
    auto it = eintraege_.find(pfad);
    if (it == eintraege_.end()) return std::nullopt;
    auto a = it->second.attribute.find(name);
    if (a == it->second.attribute.end()) return std::nullopt;
    return a->second;
}

}  // namespace klebwerk::sim

namespace klebwerk::sim {

std::uint64_t SimEingabe::eigeneFlaggen(std::uint64_t flaggen) {
    std::uint64_t f = flaggen & (flagge::umschalt | flagge::control | flagge::option);
    if (flaggen & flagge::befehl) f |= befehlAls;
    return f;
}

void SimEingabe::taste(std::uint16_t code, std::uint64_t flaggen, std::optional<int> pid) {
    const std::uint64_t gesehen = eigeneFlaggen(flaggen) | (gehalten & flagge::modifikatoren);
    const bool genommen = !pid && d_.abgriff.regel && nimmt(*d_.abgriff.regel, EreignisArt::tasteRunter, code);
    gepostet.push_back({"taste", code, flaggen, pid, gesehen, {}, true, d_.uhr.jetzt(), genommen});
    // At the hardware level a registered combination is a hot key press; otherwise an
    // installed tap sees the key.
    if (!pid && !d_.kuerzel.druecke(code, carbonMaske(flaggen))) {
        d_.abgriff.simuliere({EreignisArt::tasteRunter, code, flaggen, zeigerPosition});
        d_.abgriff.simuliere({EreignisArt::tasteHoch, code, flaggen, zeigerPosition});
    }
    // ⌘V pastes into the focused element of the application that receives it; with a
    // modifier the user still held it is another shortcut.
    std::optional<int> empfaenger = pid ? pid : d_.arbeitsplatz.vorne;
    if (genommen || code != 9 || flaggen != flagge::befehl || gesehen != eigeneFlaggen(flagge::befehl) || !empfaenger) return;
    Einfuegung e{*empfaenger, std::nullopt, d_.ablage.inhalt, d_.uhr.jetzt()};
    if (auto* b = d_.ax.findeBaum(*empfaenger); b && b->fokus && !b->fokus->tot) e.fokus = b->fokus->element();
    einfuegungen.push_back(std::move(e));
}

void SimEingabe::maus(Maustaste taste, bool runter, Punkt wo) {
    EreignisArt art = taste == Maustaste::links ? (runter ? EreignisArt::mausRunter : EreignisArt::mausHoch)
                                                : (runter ? EreignisArt::rechtsRunter : EreignisArt::rechtsHoch);
    const bool genommen = d_.abgriff.regel && nimmt(*d_.abgriff.regel, art);
    gepostet.push_back({"maus", static_cast<std::uint16_t>(taste == Maustaste::links ? 1 : 2), 0, {}, 0, wo, runter,
                        d_.uhr.jetzt(), genommen});
    d_.abgriff.simuliere({art, 0, 0, wo});
}

double SimEingabe::zeigerRuhe() { return d_.uhr.jetzt() - letzteBewegung; }

void SimEingabe::nutzerBewegt(Punkt wo) {
    zeigerPosition = wo;
    letzteBewegung = d_.uhr.jetzt();
}

void SimEingabe::bewegeZeiger(Punkt wo) {
    zeigerPosition = wo;
    letzteBewegung = d_.uhr.jetzt();
    gepostet.push_back({"zeiger", 0, 0, {}, 0, wo, false, d_.uhr.jetzt()});
}

}  // namespace klebwerk::sim

namespace klebwerk::sim {

Marke SimZwischenablage::lies(std::function<void(AblageLesung)> fertig) {
    ++lesungen;
    d_.journal.schreibe("ablage.lies");
    // The result is what the pasteboard holds when the read ends.
    return d_.uhr.nach(lesedauer, [this, fertig = std::move(fertig)] {
        AblageLesung l;
        if (lesefehler) l.fehler = *lesefehler;
        else l.eintraege = inhalt;
        fertig(std::move(l));
    });
}

void SimZwischenablage::leere() {
    d_.journal.schreibe("ablage.leere");
    inhalt.clear();
    ++zaehler;
}

bool SimZwischenablage::schreibe(const std::vector<AblageEintrag>& e) {
    d_.journal.schreibe("ablage.schreibe");
    inhalt = e;
    ++zaehler;
    return true;
}

AblageUebergabe SimZwischenablage::uebergib(double) {
    d_.journal.schreibe("ablage.uebergib");
    if (!verwalter || inhalt.empty()) return {};
    verwahrt = inhalt;
    return {true, {}};
}

}  // namespace klebwerk::sim
