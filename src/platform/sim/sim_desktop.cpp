#include "platform/sim/sim_desktop.h"

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
                     sprachen,     ordner,      dateien,      beendigung};
}

bool SimZugaenglichkeit::vertraut(bool nachfragen) {
    d_.journal.schreibe(nachfragen ? "ax.vertraut nachfragen" : "ax.vertraut");
    if (nachfragen && freigabeBeiNachfrage) freigabe = true;
    return freigabe;
}

Element SimZugaenglichkeit::anwendung(int pid) { return Element{Element::Art::anwendung, pid, "", ""}; }
Element SimZugaenglichkeit::systemweit() { return Element{Element::Art::systemweit, 0, "", ""}; }

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
        if (a.pid == pid) {
            vorne = pid;
            return true;
        }
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
    if (!regel->nurTasten) {
        e.geschluckt = istMaus ? regel->maus == AbgriffRegel::Umgang::schlucken
                               : regel->geschluckteTasten.count(e.code) > 0;
    } else if (istMaus) {
        return false;
    }
    d_.uhr.aufHaupt([this, e] {
        if (handler_) handler_(e);
    });
    return true;
}

int SimTastenkuerzel::registriere(std::uint32_t id, std::uint16_t code, std::uint32_t mods) {
    d_.journal.schreibe("kuerzel.registriere " + std::to_string(id));
    if (status != 0) return status;
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

}  // namespace klebwerk::sim
