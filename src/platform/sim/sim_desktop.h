#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/plattform.h"
#include "platform/sim/virtuelle_uhr.h"

namespace klebwerk::sim {

class SimDesktop;

// Every service of the simulated desktop writes what it was asked into one journal,
// so that a test sees the order of calls across services.
class Journal {
public:
    void schreibe(std::string eintrag) { eintraege_.push_back(std::move(eintrag)); }
    const std::vector<std::string>& eintraege() const { return eintraege_; }
    // Position of the first entry that starts with `anfang`, or -1.
    int position(const std::string& anfang) const;
    void leere() { eintraege_.clear(); }

private:
    std::vector<std::string> eintraege_;
};

class SimZugaenglichkeit : public Zugaenglichkeit {
public:
    explicit SimZugaenglichkeit(SimDesktop& d) : d_(d) {}

    // Whether the permission is granted, and whether asking for it grants it.
    bool freigabe = true;
    bool freigabeBeiNachfrage = false;

    bool vertraut(bool nachfragen) override;
    Element anwendung(int pid) override;
    Element systemweit() override;
    Wert lies(const Element&, const std::string&, double) override { return {}; }
    std::vector<Wert> liesMehrere(const Element&, const std::vector<std::string>& a, double) override {
        return std::vector<Wert>(a.size());
    }
    std::vector<std::string> attributNamen(const Element&, double) override { return {}; }
    bool schreibe(const Element&, const std::string&, const Wert&, double) override { return false; }
    bool fuehreAus(const Element&, const std::string&, double) override { return false; }
    std::optional<Element> elementBei(const Element&, Punkt, double) override { return std::nullopt; }
    std::int64_t fensterNummer(const Element&) override { return 0; }
    Marke beobachte(int, const Element&, const std::vector<std::string>&, Meldung) override { return {}; }

private:
    SimDesktop& d_;
};

class SimFensterliste : public Fensterliste {
public:
    std::vector<FensterInfo> liste;
    std::vector<FensterInfo> fenster() override { return liste; }
};

class SimArbeitsplatz : public Arbeitsplatz {
public:
    explicit SimArbeitsplatz(SimDesktop& d) : d_(d) {}

    std::vector<Anwendung> anwendungen;
    std::optional<int> vorne;
    std::vector<std::string> geoeffnet;
    std::vector<std::string> papierkorb;
    int pid = 4242;

    // The application quits: it leaves the list and the callbacks hear of it.
    void beende(int pid);

    std::vector<Anwendung> laufende() override { return anwendungen; }
    std::optional<Anwendung> vorderste() override;
    bool aktiviere(int pid, bool alleFenster) override;
    Marke beiBeendet(std::function<void(const Anwendung&)> rueckruf) override;
    bool oeffne(const std::string& link) override;
    bool inPapierkorb(const std::string& pfad, std::string& fehler) override;
    int eigenePid() override { return pid; }

private:
    SimDesktop& d_;
    std::map<int, std::function<void(const Anwendung&)>> beendetRueckrufe_;
    int naechsterRueckruf_ = 0;
};

class SimZwischenablage : public Zwischenablage {
public:
    std::vector<AblageEintrag> inhalt;
    std::int64_t zaehler = 0;
    std::vector<AblageEintrag> eintraege() override { return inhalt; }
    void leere() override {
        inhalt.clear();
        ++zaehler;
    }
    bool schreibe(const std::vector<AblageEintrag>& e) override {
        inhalt = e;
        ++zaehler;
        return true;
    }
    std::int64_t aenderungen() override { return zaehler; }
};

// A posted key or mouse event.
struct Gepostet {
    std::string art;  // "taste", "maus", "zeiger"
    std::uint16_t code = 0;
    std::uint64_t flaggen = 0;
    std::optional<int> pid;
    Punkt wo;
    bool runter = false;
};

class SimEingabe : public Eingabe {
public:
    std::vector<Gepostet> gepostet;
    Punkt zeigerPosition;
    double leerlaufSekunden = 0;
    std::uint64_t gehalten = 0;
    std::map<std::uint16_t, std::string> belegung;

    void taste(std::uint16_t code, std::uint64_t flaggen, std::optional<int> pid) override {
        gepostet.push_back({"taste", code, flaggen, pid, {}, true});
    }
    void maus(Maustaste, bool runter, Punkt wo) override { gepostet.push_back({"maus", 0, 0, {}, wo, runter}); }
    void bewegeZeiger(Punkt wo) override {
        zeigerPosition = wo;
        gepostet.push_back({"zeiger", 0, 0, {}, wo, false});
    }
    Punkt zeiger() override { return zeigerPosition; }
    double leerlauf() override { return leerlaufSekunden; }
    std::uint64_t gehalteneFlaggen() override { return gehalten; }
    std::string zeichen(std::uint16_t code) override {
        auto it = belegung.find(code);
        return it == belegung.end() ? std::string() : it->second;
    }
};

class SimAbgriff : public Ereignisabgriff {
public:
    explicit SimAbgriff(SimDesktop& d) : d_(d) {}
    bool moeglich = true;
    std::optional<AbgriffRegel> regel;
    Marke starte(const AbgriffRegel& regel, std::function<void(const AbgriffEreignis&)> handler) override;
    // The user does something while the tap is installed; false when no tap saw it.
    bool simuliere(AbgriffEreignis e);

private:
    SimDesktop& d_;
    std::function<void(const AbgriffEreignis&)> handler_;
};

class SimTastenkuerzel : public Tastenkuerzel {
public:
    explicit SimTastenkuerzel(SimDesktop& d) : d_(d) {}
    struct Eintrag {
        std::uint16_t code;
        std::uint32_t mods;
    };
    std::map<std::uint32_t, Eintrag> registriert;
    int status = 0;  // what the next registration answers
    int registriere(std::uint32_t id, std::uint16_t code, std::uint32_t mods) override;
    void entferne(std::uint32_t id) override { registriert.erase(id); }
    void beiDruck(std::function<void(std::uint32_t)> handler) override { handler_ = std::move(handler); }
    // The user presses a registered combination.
    bool druecke(std::uint16_t code, std::uint32_t mods);

private:
    SimDesktop& d_;
    std::function<void(std::uint32_t)> handler_;
};

class SimPraeferenzen : public Praeferenzen {
public:
    std::map<std::string, std::map<std::string, Wert>> domaenen;
    Wert lies(const std::string& d, const std::string& k) override;
    void schreibe(const std::string& d, const std::string& k, const Wert& w) override;
    void synchronisiere(const std::string&) override {}
};

class SimBildschirme : public Bildschirme {
public:
    std::vector<Bildschirm> liste{{{0, 0, 1440, 900}, {0, 25, 1440, 875}}};
    std::vector<Bildschirm> alle() override { return liste; }
};

class SimAnmeldeobjekt : public Anmeldeobjekt {
public:
    explicit SimAnmeldeobjekt(SimDesktop& d) : d_(d) {}
    int wert = nichtAngemeldet;
    int status() override;
    bool anmelden() override {
        wert = aktiv;
        return true;
    }
    bool abmelden() override {
        wert = nichtAngemeldet;
        return true;
    }

private:
    SimDesktop& d_;
};

class SimNeustart : public Neustart {
public:
    std::vector<std::pair<std::string, std::vector<std::string>>> gestartet;
    std::string eigenesProgramm() override { return "/usr/bin/klebwerk"; }
    bool starte(const std::string& p, const std::vector<std::string>& a) override {
        gestartet.emplace_back(p, a);
        return true;
    }
};

class SimKlangspieler : public Klangspieler {
public:
    std::vector<std::string> gespielt;
    void spiele(const std::string& wav) override { gespielt.push_back(wav); }
};

class SimBefehlskanal : public Befehlskanal {
public:
    explicit SimBefehlskanal(SimDesktop& d) : d_(d) {}
    Marke hoere(std::function<void(const std::string&)> handler) override;
    // An outside program sends a command; false when nobody listens.
    bool sende(const std::string& text);

private:
    SimDesktop& d_;
    std::shared_ptr<std::function<void(const std::string&)>> handler_;
};

class SimSprachen : public Sprachen {
public:
    std::vector<std::string> liste{"de-DE"};
    std::vector<std::string> bevorzugt() override { return liste; }
};

// Folder events that a test sends: `melde` delivers one on the main thread to every
// watcher of that folder. A folder can be watched when the file information in use
// (stated or real) knows it as a folder and it is not in `gesperrt`.
class SimOrdnerereignisse : public Ordnerereignisse {
public:
    explicit SimOrdnerereignisse(SimDesktop& d) : d_(d) {}

    // Folders that cannot be watched, with the error text.
    std::map<std::string, std::string> gesperrt;

    Marke beobachte(const std::string& ordner, std::function<void(const OrdnerEreignis&)> handler,
                    std::string& fehler) override;
    // Something happens in a folder; false when nobody watches it. After
    // `verschwunden` its watchers hear nothing more.
    bool melde(const std::string& ordner, OrdnerEreignis e);
    // The event queue overflowed: every watcher hears of it.
    void meldeUeberlauf();
    bool beobachtet(const std::string& ordner) const;

private:
    using Handler = std::shared_ptr<std::function<void(const OrdnerEreignis&)>>;
    void zustellen(std::uint64_t nr, const OrdnerEreignis& e);

    SimDesktop& d_;
    struct Abo {
        std::string ordner;
        Handler handler;
    };
    std::map<std::uint64_t, Abo> abos_;
    std::uint64_t naechstes_ = 0;
};

// Stated file information: folders and files by full path, with exact sizes, times
// and attributes.
class SimDateiinfo : public Dateiinfo {
public:
    struct Eintrag {
        DateiStand stand;
        std::map<std::string, std::string> attribute;
    };

    // A folder (its parents are not needed).
    void legeOrdnerAn(const std::string& pfad);
    // A regular file, or whatever `stand` says (links, folders).
    void lege(const std::string& pfad, const DateiStand& stand);
    // A file, or a folder with everything in it.
    void entferne(const std::string& pfad);
    void setzeAttribut(const std::string& pfad, const std::string& name, const std::string& wert);
    Eintrag* eintrag(const std::string& pfad);

    // Paths whose listing and state fail, with the error text.
    std::map<std::string, std::string> unlesbar;
    // How often each service was asked, for tests of what a scan costs.
    int listen = 0;
    int staende = 0;
    int attributFragen = 0;

    bool liste(const std::string& ordner, std::vector<DateiEintrag>& eintraege, std::string& fehler) override;
    std::optional<DateiStand> stand(const std::string& pfad) override;
    std::optional<std::string> attribut(const std::string& pfad, const std::string& name) override;

private:
    std::map<std::string, Eintrag> eintraege_;
};

// The capture names of the desktop's own tools; none beyond the shared ones unless a test sets them.
class SimAufnahmewerkzeug : public Aufnahmewerkzeug {
public:
    AufnahmeNamen zusatz;
    AufnahmeNamen namen() override { return zusatz; }
};

class SimBeendigung : public Beendigung {
public:
    explicit SimBeendigung(SimDesktop& d) : d_(d) {}
    Marke beiSignal(std::function<void()> handler) override;
    // The system sends SIGTERM; false when nobody handles it.
    bool signal();

private:
    SimDesktop& d_;
    std::shared_ptr<std::function<void()>> handler_;
};

// The simulated desktop: every service, on a virtual clock.
class SimDesktop {
public:
    SimDesktop();
    SimDesktop(const SimDesktop&) = delete;

    Plattform plattform();

    Journal journal;
    VirtuelleUhr uhr;
    SimZugaenglichkeit ax{*this};
    SimFensterliste fensterliste;
    SimArbeitsplatz arbeitsplatz{*this};
    SimZwischenablage ablage;
    SimEingabe eingabe;
    SimAbgriff abgriff{*this};
    SimTastenkuerzel kuerzel{*this};
    SimPraeferenzen praeferenzen;
    SimBildschirme bildschirme;
    SimAnmeldeobjekt anmeldeobjekt{*this};
    SimNeustart neustart;
    SimKlangspieler klang;
    SimBefehlskanal befehle{*this};
    SimSprachen sprachen;
    SimOrdnerereignisse ordner{*this};
    SimDateiinfo dateien;
    SimBeendigung beendigung{*this};
    SimAufnahmewerkzeug werkzeug;

    // The folder events and file information the platform hands out: the stated ones
    // above, unless a test plugs in real ones (set before `plattform()` is taken).
    Ordnerereignisse* ordnerDienst = &ordner;
    Dateiinfo* dateiDienst = &dateien;
};

}  // namespace klebwerk::sim
