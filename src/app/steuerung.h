#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <deque>
#include <memory>
#include <optional>
#include <set>
#include <functional>
#include <string>
#include <vector>

#include "app/einstellungen.h"
#include "ax/ax.h"
#include "ax/knopf_art.h"
#include "ax/knopf_merkmal.h"
#include "delivery/vorkodierung.h"
#include "feedback/hinweis.h"
#include "feedback/klang.h"
#include "feedback/rahmen.h"
#include "input/kuerzel.h"
#include "input/kuerzel_art.h"
#include "input/system_kuerzel_speicher.h"
#include "input/modus.h"
#include "intake/waechter.h"
#include "menubar/leistenstand.h"
#include "menubar/menue.h"
#include "platform/plattform.h"
#include "targets/ziel.h"

class QVariant;

namespace klebwerk {

struct Zustellung;
struct DiktatWache;
struct VorleseWache;
struct SprungAusgang;
class Statusleiste;
class Bedienfeld;

// A restored target waiting for its window: the stored entry, its position, and the
// key of the application it was stored with ("" when none was stored).
struct Ausstehend {
    std::vector<std::int64_t> eintrag;
    long index = 0;
    std::string kennung;
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
    // The end of the process (SIGTERM, a normal quit): the preview setting and the
    // user's pasteboard put back, the pasteboard handed to the clipboard manager. Once.
    void beimBeenden();
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
    // Runs `arbeit` on the main thread after `sekunden`, unless the controller is gone.
    void nach(double sekunden, std::function<void()> arbeit);
    void neuerScreenshot(const std::string& pfad);
    void naechster();
    // The delivery once the user's pasteboard is saved (or could not be): the capture
    // onto the pasteboard, then on to the target.
    void legeAufUndWeiter(const std::shared_ptr<Zustellung>& z);
    // At the end: a restore still pending runs now, then the pasteboard goes to the
    // clipboard manager.
    void gibAblageAb();
    void raeumeZwischenlagerAuf();
    // Brings the target forward: frontmost application, activation, raise, main window.
    void aktiviereZiel(const Ziel& z);
    // The application in front: its element frontmost, then the process activated.
    void holeNachVorn(int pid);
    // A window raised and made its application's main window.
    void hebe(const Element& fenster);
    // Calls `fertig` once, with whether the target's application is front and its
    // window focused: checks at once, then every 0.05 s, at most `versuche` more times.
    void warteBisVorn(const std::shared_ptr<Ziel>& z, int versuche, std::function<void(bool)> fertig);
    // One key press (down and up) with exactly these flags, posted to the front
    // application (`vorn`) or to `pid`. Waits, briefly and with a bound, until the user
    // has let go of held modifiers, so that they never combine with it; `gesendet`
    // runs once the key is out.
    void taste(std::uint16_t code, std::uint64_t flaggen, int pid, bool vorn, std::function<void()> gesendet = {});
    // Return, without modifiers, in the target.
    void drueckeReturn(const Ziel& z, bool vorn, std::function<void()> gesendet = {});
    // Brings the target forward and presses Return in it.
    void sende(const std::shared_ptr<Ziel>& z, bool zurueck = true);
    // The finish of a delivery, the return to where the user was, and the trash step.
    void schliesseAb(const std::shared_ptr<Zustellung>& z);
    // Saves the user's pasteboard (waiting on the run loop), then puts the capture on it.
    void sichereAblage(const std::shared_ptr<Zustellung>& z);
    void kehreZurueck(const Zustellung& z);
    void wirfWeg(const std::string& aufnahme);

    // --- targets (src/targets)
    void aktiviere(const std::shared_ptr<Ziel>& z, bool zeigen);
    void entferne(const std::shared_ptr<Ziel>& z, bool still);
    void merkeAbgewaehlt(const std::shared_ptr<Ziel>& z);
    void setzeZiel(const std::shared_ptr<Ziel>& kandidat);
    std::string basisName(const std::shared_ptr<Ziel>& z) const;
    // Connects the window under the click point (top-left screen coordinates).
    void waehle(Punkt p);
    // Menu items: the represented object, when it is a target (see targets/zielobjekt.h).
    void fensterGewaehlt(const QVariant& dargestellt);
    void zielAktivieren(const QVariant& dargestellt);
    void zielAufheben();
    void fensterHinzufuegen();
    void neuVerbinden(const std::shared_ptr<Ziel>& z);
    // Adopts the list only when it holds exactly the connected targets, each once.
    void ordne(const std::vector<std::shared_ptr<Ziel>>& neu);
    void speichereZiele();
    // Window numbers the user removed, and application keys whose windows connect automatically.
    std::set<std::int64_t> abgewaehlt() const;
    void setzeAbgewaehlt(const std::set<std::int64_t>& nummern);
    std::set<std::string> autoApps() const;
    void setzeAutoApps(const std::set<std::string>& kennungen);
    // Puts the keyboard focus into the target's input field.
    void fokussiereEingabe(const std::shared_ptr<Ziel>& z);
    // A browser target's own input handling; false when it is not one.
    bool browserEingabe(const std::shared_ptr<Ziel>& z);
    // Whether a browser target shows an AI chat or a clicked input field; updates its
    // `ki` and `perFeld`.
    bool bewerteBrowser(const std::shared_ptr<Ziel>& z);
    // The web area of the target's window (breadth first, bounded).
    std::optional<Element> webBereich(const Ziel& z);
    // The name of the AI chat the browser window shows: by the page's address, else by
    // the window title when no address can be read.
    std::optional<std::string> kiSeite(const Ziel& z);
    // The page's host without "www.", else "Webseite" / "Website".
    std::string seitenName(const Ziel& z);
    // Whether an editable field inside the window's page has the focus.
    bool feldAktiv(const Ziel& z);
    // Whether `element` is `behaelter` or lies within it (up to 59 ancestors).
    bool liegt(const Element& element, const Element& behaelter) const;
    // The AI chat, else (with a focused field) the page's name; changes nothing.
    std::optional<std::string> browserZiel(const Ziel& z);
    // The current text of the target's input field, trimmed.
    std::string eingabeText(const std::shared_ptr<Ziel>& z);
    // Logs once per start that a browser built on Chromium keeps its pages off the bus.
    void meldeSeitenOhneZugang(const Ziel& z);
    // Connects the stored targets again; once, when the permission is there.
    void stelleZielWiederHer();
    // Forgets removed windows that no longer exist, so that a new window that gets
    // the number of an old one is not left out for ever. Skipped when a read failed.
    void vergissVerschwundeneAbgewaehlte();
    // A notification of a target's window: it was destroyed or its title changed.
    void fensterMeldung(const Element& element, const std::string& name);
    // A browser's focused window changed: recognise an AI chat in it.
    void erkenneBrowserFenster(const Element& fenster, int pid);
    virtual void pruefeFokus();
    virtual void pruefeNeueFenster();
    virtual void pruefeAusstehende();
    // The display name of a target in menus, panel and status.
    std::string name(const std::shared_ptr<Ziel>& z) const;
    // `name` of every connected target, in list order, each base name made once.
    std::vector<std::string> namen() const;
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

    // --- dictation and learning (src/assist)
    // Ends any dictation start or watch; what it still has under way counts no more.
    void stoppeDiktat();
    // Presses the target's dictation button (found on the background lane); with
    // "diktatSenden" on, the watch follows.
    void starteDiktat(const std::shared_ptr<Ziel>& z);
    // --- the read-aloud watch (src/assist)
    // Starts the watch on the target, or re-aims a running one at it; either way it
    // runs 900 s from now.
    void starteWache(const std::shared_ptr<Ziel>& z);
    // Ends the watch; what it still has under way counts no more.
    void stoppeWache();
    void wacheTakt(const std::shared_ptr<VorleseWache>& w);
    void schalteVorlesen();
    // Presses the read-aloud button of the current target now.
    void jetztVorlesen();
    // Whether the target shows a stop button: it is writing an answer (a long search:
    // the background lane's).
    bool stoppKnopfDa(const Ziel& z) const;
    // Whether the target's window is the topmost window at the point.
    bool liegtOben(const Ziel& z, Punkt p);
    // Hovers over the target's newest answer and clicks the button of the signature,
    // as a chain of steps on the background lane; `fertig` gets the outcome on the
    // main thread, after the application that was in front has been activated again.
    void springUndDruecke(const std::shared_ptr<Ziel>& z, const KnopfMerkmal& m,
                          std::function<void(const SprungAusgang&)> fertig);
    // The dictation shortcut: the target forward, its input focused, dictation started.
    void diktatPerKuerzel();
    // The learned button in the target's window (a long search: the background lane's).
    std::optional<Element> sucheKnopf(const Ziel& z, const KnopfMerkmal& m) const;
    // The send-after-dictation watch for the target and its button.
    void beobachteDiktat(const std::shared_ptr<Ziel>& z, const KnopfMerkmal& m);
    void diktatTakt(const std::shared_ptr<DiktatWache>& w);
    void lerneDiktat();
    void lerneVorlesen();
    // Enters the learn mode for the current `lernArt`.
    void lernenStarten();
    // Learns the button under the point (the learn mode's ⌥).
    virtual void lerne(Punkt p);
    // Runs `arbeit` on the background lane and what it returns on the main thread,
    // unless the controller is gone by then.
    void imHintergrund(std::function<std::function<void()>()> arbeit);
    // Starts the chain of steps that `baue` makes on the background lane; the chain
    // hands its result to the `zurueck` it is given (work for the main thread, run
    // unless the controller is gone by then), once, at its end.
    using Rueckweg = std::function<void(std::function<void()>)>;
    void imHintergrundKette(const std::function<Schritt(Rueckweg zurueck)>& baue);

    // --- input (src/input)
    // Installs the tap for the coming mode (`kommend`: what it swallows); false, with
    // the hint, when it cannot be set up.
    bool starteTap(bool nurTasten, Modus kommend = Modus::wahl);
    // What the installed tap hands on: one event record, on the main thread.
    void tapRueckruf(const AbgriffEreignis& e);
    // The rules of the modes: true means the event is swallowed. Decides at once and
    // only posts the work.
    bool tapEreignis(EreignisArt art, const AbgriffEreignis& e);
    void beendeModus();
    // Removes the tap and what belongs to the mode (steps of `beendeModus` without
    // hiding the frame and the hint): after a choice its feedback stays.
    void gibTapFrei();
    // Starts the choose mode, or ends whatever mode runs.
    void zielWahlStarten();
    // The system's accessibility settings, for a missing permission.
    void oeffneFreigabe();
    // Registers ⌃⌥S and the two recorded shortcuts, once at start-up.
    void registriereKurzbefehl();
    // The stored shortcut of a kind; none when nothing (or nothing usable) is stored.
    std::optional<Kuerzel> kuerzel(KuerzelArt art) const { return gespeichertesKuerzel(ud, art); }
    // (Re)registers a kind from its stored value, the old registration removed first;
    // the platform's status, 0 when nothing is stored.
    int meldeKuerzelAn(KuerzelArt art);
    void kuerzelGedrueckt(std::uint32_t id);
    // Starts recording the shortcut of a kind.
    void kuerzelAufnehmen(KuerzelArt art);
    // A key pressed while a shortcut is recorded.
    virtual void kuerzelTaste(std::uint16_t code, std::uint64_t flaggen, const AbgriffEreignis& kopie);
    // The display text of one of the system's screenshot shortcuts (30: picture of a
    // selected area, 184: screenshot and recording options, …): "aus" when switched
    // off, "–" when there is none or it cannot be read.
    std::string systemKuerzel(int nummer) { return systemKuerzelSpeicher.text(nummer); }

    // --- menu bar (src/menubar)
    // Creates the status item (start-up) and logs whether the desktop has a status area.
    void richteLeisteEin();
    void aktualisiereLeiste();
    // The status menu as it is now; built afresh for every opening.
    std::vector<MenueEintrag> baueMenue();
    void schaltePause();
    void schalteAufnahmen();
    void schaltePapierkorb();
    void schalteAbsenden();
    void schalteDiktat();
    void schalteDiktatSenden();
    void schalteFeld();
    void beenden();

    // --- language and login item (src/app)
    // Stores the other language and restarts (without a shell); when the restart cannot
    // be started, keeps running and says the language changes at the next start.
    void wechsleSprache();
    void schalteAnmeldung();

    // --- panel (src/panel)
    // The control panel, made on first use and kept for the controller's life.
    Bedienfeld& feld();
    // Whether the panel was made yet (a refresh never makes it without need).
    bool hatFeld() const { return feld_ != nullptr; }
    // Another start of the program in this session: the panel comes to the front (grown
    // from the point when shrunk) and stays switched on.
    void holeFeldNachVorn();

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
    std::unique_ptr<Statusleiste> leiste;
    LeistenStand leistenAnzeige;
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
    // How long each focus tick kept the main thread (seconds) and whether it ran the
    // 2-second checks, the latest ten minutes' worth; the test command "takte" hands
    // them out for measurements.
    std::deque<std::pair<double, bool>> taktDauern;
    Modus modus = Modus::keiner;
    Marke tap;
    bool schluckeLoslassen = false;
    // The latest pointer position of the choose mode that still waits for its frame.
    std::optional<Punkt> bewegungOffen;
    bool vertraut = false;
    bool chromiumOhneSeitenGemeldet = false;
    // Since when each browser process was seen without its pages (monotonic seconds).
    std::map<int, double> ohneSeiteSeit;
    std::vector<std::string> schlange;
    bool beschaeftigt = false;
    std::string letzteZustellung;
    std::optional<std::uint32_t> kurzbefehl;
    Marke wache;
    double wacheEnde = 0;
    bool wacheLaeuft = false;
    // Counts up with every start and stop of the watch: a result of the background
    // lane counts only for the watch that asked for it.
    std::uint64_t wacheNummer = 0;
    // Whether the read-aloud press already logged the user's held mouse button.
    std::shared_ptr<std::atomic<bool>> sprungGehaltenGemeldet = std::make_shared<std::atomic<bool>>(false);
    std::string zwischenlager;
    KnopfArt lernArt = KnopfArt::vorlesen;
    Marke endeQuelle;
    Marke diktatUhr;
    bool diktatLaeuft = false;
    // Counts up with every start and stop of dictation: a result of the background lane
    // counts only for the dictation that asked for it.
    std::uint64_t diktatNummer = 0;
    // The registered recorded shortcuts, by hot-key id.
    std::set<std::uint32_t> kuerzelRefs;
    std::optional<KuerzelArt> kuerzelLernen;
    SystemKuerzelSpeicher systemKuerzelSpeicher{plattform.systemkuerzel, plattform.eingabe};

    // The restore of the user's pasteboard that the last delivery left pending: the
    // next delivery takes it over.
    struct AblageRueckgabe {
        std::optional<std::vector<AblageEintrag>> gesichert;  // none: it could not be saved
        std::int64_t zaehler = 0;
        Marke uhr;
    };
    std::optional<AblageRueckgabe> ablageRueckgabe;
    // The read of the user's pasteboard that a delivery waits for.
    Marke ablageLesung;
    // The delivery under way, from the moment its capture is on the pasteboard.
    std::weak_ptr<Zustellung> laufend;
    bool beendet = false;
    // PNGs of captures made on the background lane once their files are complete.
    Vorkodierung vorkodierung{schleife};
    // Work scheduled with `nach`, by number; each entry goes when its work runs.
    std::map<std::uint64_t, Marke> spaeter;
    std::uint64_t spaeterNummer = 0;
    // Work on the background lane, by number, until its result is back on the main thread.
    std::map<std::uint64_t, Marke> hintergrundArbeiten;
    std::uint64_t hintergrundNummer = 0;
    // Alive as long as the controller: results of the background lane check it.
    std::shared_ptr<int> lebenszeichen = std::make_shared<int>(0);

    // Timers and subscriptions of the start-up sequence.
    Marke freigabeUhr;
    Marke aufraeumUhr;
    Marke beendetBeobachter;
    Marke befehlsKanal;

    // --- interface sounds (src/feedback)
    // Plays a sound; with "toene" off only when `auchWennAus`.
    void spiele(KlangArt art, bool auchWennAus = false);
    // Each sound's bytes, made on first use and kept.
    Klang klang{plattform.klang, ud};

private:
    std::unique_ptr<Bedienfeld> feld_;
};

}  // namespace klebwerk
