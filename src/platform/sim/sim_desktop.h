#pragma once

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <optional>
#include <string>
#include <vector>

#include "platform/plattform.h"
#include "platform/sim/sim_zugaenglichkeit.h"
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

// The window server: on-screen windows front to back, each with its layer.
class SimFensterliste : public Fensterliste {
public:
    std::vector<FensterInfo> liste;
    bool verfuegbar = true;  // false: the list cannot be obtained
    std::vector<FensterInfo> fenster() override { return verfuegbar ? liste : std::vector<FensterInfo>{}; }
};

class SimArbeitsplatz : public Arbeitsplatz {
public:
    explicit SimArbeitsplatz(SimDesktop& d) : d_(d) {}

    std::vector<Anwendung> anwendungen;
    std::optional<int> vorne;
    // How long an activation takes before the application is in front.
    double aktivierungsDauer = 0;
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
    Marke aktivierung_;
    int naechsterRueckruf_ = 0;
};

// The pasteboard of the simulated desktop. A read answers after `lesedauer` virtual
// seconds, with the items or, when `lesefehler` is set, with that failure. A running
// clipboard manager (`verwalter`) keeps what is handed to it in `verwahrt`.
class SimZwischenablage : public Zwischenablage {
public:
    explicit SimZwischenablage(SimDesktop& d) : d_(d) {}
    std::vector<AblageEintrag> inhalt;
    std::int64_t zaehler = 0;
    double lesedauer = 0;
    std::optional<std::string> lesefehler;
    int lesungen = 0;
    bool verwalter = false;
    std::vector<AblageEintrag> verwahrt;

    Marke lies(std::function<void(AblageLesung)> fertig) override;
    void leere() override;
    bool schreibe(const std::vector<AblageEintrag>& e) override;
    std::int64_t aenderungen() override { return zaehler; }
    AblageUebergabe uebergib(double frist) override;
    // Another application copies: new contents, one change.
    void kopiere(std::vector<AblageEintrag> e) {
        inhalt = std::move(e);
        ++zaehler;
    }

private:
    SimDesktop& d_;
};

// A posted key or mouse event.
struct Gepostet {
    std::string art;  // "taste", "maus", "zeiger"
    std::uint16_t code = 0;  // the key code; for "maus" the button, 1 left, 2 right
    std::uint64_t flaggen = 0;
    std::optional<int> pid;  // posted to this process; none: to the front
    // The modifiers the receiving application saw with the key: those the key was
    // sent with (⌘ as `befehlAls`) together with those the user held.
    std::uint64_t gesehen = 0;
    Punkt wo;
    bool runter = false;
    double zeit = 0;  // virtual seconds
    // The tap took it: no application received it.
    bool genommen = false;
};

// A paste that reached an application: ⌘V arrived while it was in front or was sent to it.
struct Einfuegung {
    int pid = 0;
    std::optional<Element> fokus;  // the element that had the focus
    std::vector<AblageEintrag> inhalt;
    double zeit = 0;
};

class SimEingabe : public Eingabe {
public:
    explicit SimEingabe(SimDesktop& d) : d_(d) {}

    std::vector<Gepostet> gepostet;
    std::vector<Einfuegung> einfuegungen;
    Punkt zeigerPosition;
    // When the pointer last moved (virtual seconds).
    double letzteBewegung = 0;
    bool tasteGehalten = false;
    std::uint64_t gehalten = 0;
    // The modifier key that ⌘ is sent as: ⌘ itself, or Control on a desktop whose
    // paste shortcut is Ctrl+V.
    std::uint64_t befehlAls = flagge::befehl;
    std::map<std::uint16_t, std::string> belegung;

    void taste(std::uint16_t code, std::uint64_t flaggen, std::optional<int> pid) override;
    void maus(Maustaste, bool runter, Punkt wo) override;
    void bewegeZeiger(Punkt wo) override;
    Punkt zeiger() override { return zeigerPosition; }
    double zeigerRuhe() override;
    bool maustasteGehalten() override { return tasteGehalten; }
    // The user moves the pointer (nothing is posted).
    void nutzerBewegt(Punkt wo);
    std::uint64_t gehalteneFlaggen() override { return gehalten; }
    std::uint64_t eigeneFlaggen(std::uint64_t flaggen) override;
    std::string zeichen(std::uint16_t code) override {
        auto it = belegung.find(code);
        return it == belegung.end() ? std::string() : it->second;
    }

private:
    SimDesktop& d_;
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
    // Combinations (code, Carbon mask) that another program holds: registering one
    // answers `vergeben`.
    std::set<std::pair<std::uint16_t, std::uint32_t>> belegt;
    static constexpr int vergeben = -9878;
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

// The system's screenshot shortcuts as a test states them; every read is counted.
class SimSystemkuerzel : public Systemkuerzel {
public:
    std::map<int, SystemKuerzelLesung> werte;  // a number not in here: unknown
    std::string stand = "1";                   // what `fassung` answers; a test changes it with the values
    int lesungen = 0;
    KuerzelDesktop art = KuerzelDesktop::anderer;  // what `desktop` answers
    std::string fassung() override { return stand; }
    KuerzelDesktop desktop() override { return art; }
    SystemKuerzelLesung lies(int nummer) override {
        ++lesungen;
        auto it = werte.find(nummer);
        return it == werte.end() ? SystemKuerzelLesung{} : it->second;
    }
};

// The own windows that were shown as floating ones, in order.
class SimEigeneFenster : public EigeneFenster {
public:
    std::vector<std::uint64_t> schwebende;
    void schwebend(std::uint64_t fenster) override { schwebende.push_back(fenster); }
};

class SimBildschirme : public Bildschirme {
public:
    std::vector<Bildschirm> liste{{{0, 0, 1440, 900}, {0, 25, 1440, 875}}};
    bool zusammengesetzt = true;
    std::vector<Bildschirm> alle() override { return liste; }
    bool durchscheinend() override { return zusammengesetzt; }
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
    // Relaunches arranged: program, arguments, delay; `moeglich` false refuses them.
    struct NachEnde {
        std::string programm;
        std::vector<std::string> argumente;
        double verzoegerung = 0;
    };
    std::vector<NachEnde> nachEnde;
    bool moeglich = true;
    bool starteNachEnde(const std::string& p, const std::vector<std::string>& a, double v) override {
        if (!moeglich) return false;
        nachEnde.push_back({p, a, v});
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

    // --- scenario building: applications, windows and their accessibility trees
    // An application starts: it runs, and its accessibility tree exists (an empty one).
    SimKnoten& starteAnwendung(const Anwendung& a);
    // A window of `pid` opens in front of all others (layer 0); its element is a child of
    // the application with role "AXWindow", the subrole, title and frame given.
    SimKnoten& oeffneFenster(int pid, const std::string& titel, Rechteck rahmen,
                             const std::string& subrolle = "AXStandardWindow");
    // Something on another layer (a dock, a menu, a panel) that is not an accessible
    // window, or a window of this process; in front of all others. Its number.
    std::uint32_t zeigeFlaeche(int pid, int schicht, Rechteck rahmen, const std::string& titel = "");
    // Moves a window to the front of the window list and of its application's windows.
    void hebeFenster(std::uint32_t nummer);
    // A window closes: it leaves the list, its elements die, observers hear of it.
    void schliesseFenster(std::uint32_t nummer);
    // A window's title changes: its element and the window list show it, observers hear of it.
    void setzeTitel(std::uint32_t nummer, const std::string& titel);
    // An application quits: windows and tree go, the workspace reports it.
    void beendeAnwendung(int pid);
    SimKnoten* fensterKnoten(std::uint32_t nummer);

    Journal journal;
    VirtuelleUhr uhr;
    SimZugaenglichkeit ax{*this};
    SimFensterliste fensterliste;
    SimArbeitsplatz arbeitsplatz{*this};
    SimZwischenablage ablage{*this};
    SimEingabe eingabe{*this};
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
    SimSystemkuerzel systemkuerzel;
    SimEigeneFenster eigeneFenster;

    // The folder events and file information the platform hands out: the stated ones
    // above, unless a test plugs in real ones (set before `plattform()` is taken).
    Ordnerereignisse* ordnerDienst = &ordner;
    Dateiinfo* dateiDienst = &dateien;

private:
    std::uint32_t naechsteNummer_ = 100;
    std::map<std::uint32_t, std::shared_ptr<SimKnoten>> fensterKnoten_;
};

}  // namespace klebwerk::sim
