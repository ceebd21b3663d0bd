#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/einstellungen.h"
#include "ax/ax.h"
#include "ax/knopf_art.h"
#include "ax/knopf_merkmal.h"
#include "feedback/hinweis.h"
#include "feedback/rahmen.h"
#include "input/kuerzel_art.h"
#include "input/modus.h"
#include "intake/waechter.h"
#include "platform/plattform.h"
#include "targets/ziel.h"

namespace klebwerk {

// A restored target waiting for its window: the stored entry and its position.
struct Ausstehend {
    std::vector<std::int64_t> eintrag;
    long index = 0;
};

// The application controller: the one owner of all running state. Its operations
// live with their subsystems (delivery in src/delivery, targets in src/targets, …).
class Steuerung {
public:
    Steuerung(Plattform& plattform, Einstellungen& ud);
    virtual ~Steuerung();
    Steuerung(const Steuerung&) = delete;
    Steuerung& operator=(const Steuerung&) = delete;

    // --- start-up and lifecycle (src/app)
    void starte();         // the start-up sequence, once the event loop runs
    void beimBeenden();    // a normal quit
    void fokusTakt();      // one tick of the focus timer

    // --- settings as properties
    bool pausiert() const { return ud.istWahr("pausiert"); }
    bool absenden() const { return ud.istWahr("absenden"); }
    bool diktat() const { return ud.istWahr("diktatAn"); }
    bool diktatSenden() const { return ud.istWahr("diktatSenden"); }
    bool aufnahmen() const { return ud.istWahr("aufnahmen"); }
    bool papierkorb() const { return ud.istWahr("papierkorb"); }
    bool feldSichtbar() const { return ud.istWahr("feldSichtbar"); }

    // --- intake (src/intake)
    void aktualisiereVorschau(bool beenden);

    // --- delivery (src/delivery)
    void neuerScreenshot(const std::string& pfad);
    void raeumeZwischenlagerAuf();

    // --- targets (src/targets)
    void entferne(const std::shared_ptr<Ziel>& z, bool still);
    void stelleZielWiederHer();
    virtual void pruefeFokus();
    virtual void pruefeNeueFenster();
    virtual void pruefeAusstehende();
    // The display name of a target in menus, panel and status.
    std::string name(const std::shared_ptr<Ziel>& z) const;
    // The smallest slot number ≥ 1 that no connected target holds.
    long freierPlatz() const;
    // The slot a newcomer gets: `bevorzugt` when it is ≥ 1 and free, else freierPlatz().
    long platzFuer(std::optional<long> bevorzugt) const;
    // The connected target that shows `fenster`, if any.
    std::shared_ptr<Ziel> verbundenMit(const Element& fenster) const;
    // Connects a candidate: refused (false) when its window is already connected;
    // otherwise slot, observation, then appended to `verbunden`.
    bool verbinde(const std::shared_ptr<Ziel>& z, std::optional<long> bevorzugt);
    // Starts observing the target's window (destruction, title changes).
    void beobachte(const std::shared_ptr<Ziel>& z);
    // A new candidate for a stored entry [pid, number] or [pid, number, slot], its slot
    // assigned; none when the window is not there or already connected.
    std::shared_ptr<Ziel> findeFenster(const std::vector<std::int64_t>& eintrag);

    // --- button signatures (src/ax)
    std::optional<KnopfMerkmal> merkmal(KnopfArt art) const;
    void setzeMerkmal(KnopfArt art, const std::optional<KnopfMerkmal>& m);
    std::optional<KnopfMerkmal> knopf() const { return merkmal(KnopfArt::vorlesen); }
    void setzeKnopf(const std::optional<KnopfMerkmal>& m) { setzeMerkmal(KnopfArt::vorlesen, m); }
    std::optional<KnopfMerkmal> diktatKnopf() const { return merkmal(KnopfArt::diktat); }
    void setzeDiktatKnopf(const std::optional<KnopfMerkmal>& m) { setzeMerkmal(KnopfArt::diktat, m); }

    // --- dictation (src/assist)
    void stoppeDiktat();

    // --- input (src/input)
    void registriereKurzbefehl();

    // --- menu bar (src/menubar)
    void aktualisiereLeiste();

    // --- panel (src/panel)
    void zeigeFeld();
    void aktualisiereFeld();

    // --- test interface (src/diagnostics)
    void schreibeStatus();
    void testBefehl(const std::string& text);

    // --- fields
    Plattform& plattform;
    Laufschleife& schleife;
    Einstellungen& ud;
    AX ax;  // the accessibility layer over plattform.ax
    Hinweis hinweis;
    Rahmen rahmen;
    Waechter waechter;

    std::shared_ptr<Ziel> ziel;
    std::vector<std::shared_ptr<Ziel>> verbunden;
    std::shared_ptr<Ziel> wahlErsetzt;
    std::shared_ptr<Ziel> wacheZiel;
    double ruhigBis = -1e18;  // monotonic seconds; the distant past
    Marke fokusUhr;
    std::optional<Element> letzterFokus;
    std::string letzterTitel;
    std::optional<Element> letztesFeld;
    std::vector<Ausstehend> ausstehend;
    std::int64_t takt = 0;
    Modus modus = Modus::keiner;
    Marke tap;
    bool schluckeLoslassen = false;
    bool vertraut = false;
    std::vector<std::string> schlange;
    bool beschaeftigt = false;
    std::string letzteZustellung;
    std::optional<std::uint32_t> kurzbefehl;
    Marke wache;
    double wacheEnde = 0;
    bool wacheLaeuft = false;
    std::string zwischenlager;
    KnopfArt lernArt = KnopfArt::vorlesen;
    Marke endeQuelle;
    Marke diktatUhr;
    bool diktatLaeuft = false;
    std::map<std::uint32_t, std::uint32_t> kuerzelRefs;
    std::optional<KuerzelArt> kuerzelLernen;

    // Timers and subscriptions of the start-up sequence.
    Marke freigabeUhr;
    Marke aufraeumUhr;
    Marke beendetBeobachter;
    Marke befehlsKanal;
};

}  // namespace klebwerk
