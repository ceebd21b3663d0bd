#pragma once

#include <atomic>
#include <deque>
#include <future>
#include <optional>
#include <map>
#include <memory>
#include <mutex>
#include <set>

#include "platform/laufschleife.h"
#include "platform/zwischenablage.h"
#include "platform/x11/x_verbindung.h"

namespace klebwerk::x11 {

// Which of an owner's targets hold the contents: everything but the targets that
// describe the selection itself or make the owner do something (TARGETS, MULTIPLE,
// TIMESTAMP, DELETE, INSERT_*, SAVE_TARGETS), each once, in the owner's order.
std::vector<std::string> inhaltsZiele(const std::vector<std::string>& ziele);

// An item as X clients read it: every type stays under its own name, and the
// system's type identifiers ("public.png", "public.file-url", "public.utf8-plain-text",
// …) are offered under the targets X clients ask for as well ("image/png",
// "text/uri-list", "UTF8_STRING", …), unless the item has those already. A file URL
// goes to "text/uri-list" as one line ending in CR LF, as that list is written.
AblageEintrag mitXZielen(const AblageEintrag& eintrag);

// The CLIPBOARD selection, owned and read by the backend's own X thread (not Qt's
// clipboard, which blocks on slow owners and merges text targets). Every target is
// kept under its atom name, byte for byte, with the property type and format it came
// with; large values travel in increments (INCR) both ways.
//
// The X11 clipboard holds one item. Writing several items puts the first one on the
// clipboard, whole; the others are left out (their types are not merged into the
// first: that would offer data of one item under another's name). Reading gives one
// item, or none when the clipboard is empty.
//
// A read goes on as long as the owner delivers (a large image in many increments may
// take long); an owner silent for `stillefrist` seconds fails it. Results reach the
// main thread through the run loop.
//
// The change count rises on every change of owner or contents (XFixes selection
// notifications), and at once on this process's own writes, whose own notification
// is then not counted again.
//
// Handing over at the end follows the freedesktop clipboard manager protocol: a
// conversion of CLIPBOARD_MANAGER to SAVE_TARGETS, after which the manager copies
// the contents and answers.
class X11Zwischenablage : public Zwischenablage {
public:
    X11Zwischenablage(XVerbindung& x, Laufschleife& schleife);
    ~X11Zwischenablage() override;

    Marke lies(std::function<void(AblageLesung)> fertig) override;
    void leere() override;
    bool schreibe(const std::vector<AblageEintrag>& eintraege) override;
    std::int64_t aenderungen() override { return zaehler_; }
    AblageUebergabe uebergib(double frist) override;

    // Pieces moved in increments so far, both ways (for tests).
    std::uint64_t stueckeEmpfangen() const { return stueckeEmpfangen_; }
    std::uint64_t stueckeGesendet() const { return stueckeGesendet_; }

    // How long an owner may stay silent within a read before it fails.
    double stillefrist = 2.0;

private:
    struct Lesung;
    struct Sendung;
    struct Art {
        xcb_atom_t typ = XCB_NONE;
        int format = 8;
    };
    bool ereignis(const xcb_generic_event_t* e);
    void uebernimm(AblageEintrag inhalt);
    void beantworte(const xcb_selection_request_event_t* anfrage);
    bool liefere(xcb_window_t fenster, xcb_atom_t eigenschaft, const std::string& ziel);
    void sendeWeiter(Sendung& s);
    void starteLesung(std::shared_ptr<Lesung> l);
    void naechstesZiel(std::shared_ptr<Lesung> l);
    void empfange(std::shared_ptr<Lesung> l, xcb_atom_t eigenschaft);
    // Ends the read: its items, or the reason it failed.
    void beendeLesung(std::shared_ptr<Lesung> l, std::optional<std::string> fehler);
    void melde(Lesung& l, AblageLesung ergebnis);
    void starteUebergabe(std::shared_ptr<std::promise<AblageUebergabe>> versprechen);
    void wacheLesung(std::shared_ptr<Lesung> l);

    XVerbindung& x_;
    Laufschleife& schleife_;
    xcb_atom_t verwalter_ = XCB_NONE, sichereZiele_ = XCB_NONE, sichernEigenschaft_ = XCB_NONE;
    xcb_atom_t clipboard_ = XCB_NONE, targets_ = XCB_NONE, incr_ = XCB_NONE, multiple_ = XCB_NONE,
               timestamp_ = XCB_NONE, atomPair_ = XCB_NONE, eigenschaft_ = XCB_NONE;
    std::uint8_t xfixesErstes_ = 0;
    bool xfixes_ = false;
    std::atomic<std::int64_t> zaehler_{0};
    std::atomic<std::uint64_t> stueckeEmpfangen_{0}, stueckeGesendet_{0};

    // The contents while this process owns the clipboard (any thread, under the lock).
    std::mutex sperre_;
    bool eigen_ = false;
    std::shared_ptr<const AblageEintrag> inhalt_;
    std::atomic<int> ausstehend_{0};  // own writes not yet made the owner
    bool ende_ = false;               // X thread: the object is going

    // X thread only.
    xcb_timestamp_t besitzZeit_ = 0;
    std::set<xcb_timestamp_t> eigeneZeiten_;
    std::map<std::string, Art> arten_;  // type and format of each target as last read
    std::map<std::pair<xcb_window_t, xcb_atom_t>, std::unique_ptr<Sendung>> sendungen_;
    std::shared_ptr<Lesung> lesung_;
    std::deque<std::shared_ptr<Lesung>> warteschlange_;
    std::uint32_t stueck_ = 65536;
    std::shared_ptr<std::promise<AblageUebergabe>> uebergabe_;

    Marke ereignisMarke_;
};

}  // namespace klebwerk::x11
