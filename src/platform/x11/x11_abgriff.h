#pragma once

#include <memory>
#include <mutex>

#include "platform/ereignisabgriff.h"
#include "platform/laufschleife.h"
#include "platform/x11/tastatur.h"
#include "platform/x11/x_verbindung.h"

namespace klebwerk::x11 {

// The event tap with X means, decided before any event arrives:
// - the swallowed left button (choosing): a passive grab of button 1 on the root
//   window for every lock combination; its press and release come to this client
//   only, in root coordinates. Every other button, the wheel and motion stay with
//   the windows; the pointer is followed through XInput2 raw motion and its position;
// - swallowed keys: a passive grab of each key for every lock combination (Escape
//   while choosing); a large set (shortcut recording) grabs the whole keyboard;
// - everything else is only watched: XInput2 raw key presses and releases (and raw
//   button presses while the mouse is not grabbed) from the root window, which take
//   nothing from the focused application.
// A grabbed key is reported from its core events (swallowed), every other key from
// its raw events (passed on): the server sends the grabbing client no raw events.
// A grab that another client holds makes the tap fail: an empty token.
class X11Abgriff : public Ereignisabgriff {
public:
    X11Abgriff(XVerbindung& x, XTastatur& tastatur, Laufschleife& schleife);
    ~X11Abgriff() override;

    Marke starte(const AbgriffRegel& regel, std::function<void(const AbgriffEreignis&)> handler) override;

private:
    struct Tap;
    bool ereignis(const xcb_generic_event_t* e);
    bool richteEin(Tap& t);  // X thread
    void baueAb(Tap& t);     // X thread
    void waehleRoh();        // X thread: the raw events all taps together need
    // X thread: reports a moved pointer (the first look only notes where it is).
    void folgeZeiger(const std::shared_ptr<Tap>& t, bool melden = true);
    void pruefeZeiger(const std::weak_ptr<Tap>& t);   // X thread: follows it until the tap goes
    void melde(Tap& t, AbgriffEreignis e);
    bool istModifikator(std::uint8_t keycode);
    // The flag of a modifier key (0 for other keys and caps lock).
    std::uint64_t flaggeVon(std::uint8_t keycode);
    // Modifier keys held now, from the key map at the start and the raw events since:
    // the flags of an event are those at its moment, not at the moment it is read.
    void liesGehaltene();
    std::uint64_t gehalteneFlaggen();

    XVerbindung& x_;
    XTastatur& tastatur_;
    Laufschleife& schleife_;
    std::uint8_t xiOpcode_ = 0;
    bool xi_ = false;
    std::uint64_t naechste_ = 1;
    std::map<std::uint64_t, std::shared_ptr<Tap>> taps_;  // X thread
    std::set<std::uint8_t> gehalten_;                      // X thread: modifier keys down
    Marke ereignisMarke_;
};

}  // namespace klebwerk::x11
