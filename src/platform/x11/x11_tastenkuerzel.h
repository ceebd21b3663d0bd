#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <set>

#include "platform/laufschleife.h"
#include "platform/tastenkuerzel.h"
#include "platform/x11/tastatur.h"
#include "platform/x11/x_verbindung.h"

namespace klebwerk::x11 {

// Lock bits a grab has to cover: none, Caps Lock, Num Lock, both. A grab with
// AnyModifier fails under some window managers that hold one combination already.
std::vector<std::uint16_t> sperrKombinationen(std::uint16_t numLock);

// Global hot keys as passive key grabs on the root window, one for each lock
// combination, as checked requests: a combination held by another client makes the
// registration fail at once with a non-zero status (and no grab of it stays). The key
// is the one that gives the code's keysym on the current layout; the grabs are renewed
// when the keymap or the modifier map changes. ⌘ is the Super key here, ⌥ is Alt.
class X11Tastenkuerzel : public Tastenkuerzel {
public:
    // The status of a combination another client holds, and of a key code this
    // keyboard has no key for (the values the hot-key interface uses for them).
    static constexpr int vergeben = -9878;
    static constexpr int unbekannt = -50;

    X11Tastenkuerzel(XVerbindung& x, XTastatur& tastatur, Laufschleife& schleife);
    ~X11Tastenkuerzel() override;

    int registriere(std::uint32_t id, std::uint16_t code, std::uint32_t modifikatoren) override;
    void entferne(std::uint32_t id) override;
    void beiDruck(std::function<void(std::uint32_t id)> handler) override;

private:
    struct Eintrag {
        std::uint16_t code = 0;
        std::uint32_t modifikatoren = 0;
        std::uint8_t keycode = 0;
        std::uint16_t maske = 0;
    };
    struct Geteilt {
        std::mutex sperre;
        std::function<void(std::uint32_t)> handler;
    };
    int greife(Eintrag& e);  // X thread
    void lasse(const Eintrag& e);  // X thread
    void erneuere();  // X thread
    bool ereignis(const xcb_generic_event_t* e);

    XVerbindung& x_;
    XTastatur& tastatur_;
    Laufschleife& schleife_;
    std::shared_ptr<Geteilt> geteilt_ = std::make_shared<Geteilt>();
    std::map<std::uint32_t, Eintrag> eintraege_;  // X thread
    std::set<std::uint8_t> unten_;                // X thread: grabbed keys held down
    Marke ereignisMarke_, aenderungMarke_;
};

}  // namespace klebwerk::x11
