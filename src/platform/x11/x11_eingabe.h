#pragma once

#include <atomic>
#include <cstdint>

#include "platform/eingabe.h"
#include "platform/x11/tastatur.h"
#include "platform/x11/x_verbindung.h"

namespace klebwerk::x11 {

// Synthetic input through XTest and what the user's devices are doing.
//
// Keys: a virtual key code means the keysym its key gives on a US layout; it is
// sent as the key that produces that keysym on the current layout (on Dvorak "⌘V"
// is still the key that types "v"). The flags press their modifiers around it;
// ⌘ is Control here, the desktop's modifier of the paste shortcut. A key for an
// application that is not in front is sent to its front window as a key event;
// applications that ignore sent events (xterm) get activated and then the key
// through XTest. Every key is posted once; nothing here waits for the user's own
// modifiers to be released: that bounded wait is the caller's step, from
// `gehalteneFlaggen` and `eigeneFlaggen` (a held Super reads as ⌘ but is not the
// Control that ⌘ is sent as).
class X11Eingabe : public Eingabe {
public:
    // Selects the pointer's raw motion on the root window (XInput 2), so that the
    // pointer's rest is timed from its own motion.
    X11Eingabe(XVerbindung& x, XTastatur& tastatur);
    ~X11Eingabe() override;

    void taste(std::uint16_t code, std::uint64_t flaggen, std::optional<int> pid) override;
    void maus(Maustaste taste, bool runter, Punkt wo) override;
    void bewegeZeiger(Punkt wo) override;
    Punkt zeiger() override;
    double zeigerRuhe() override;
    bool maustasteGehalten() override;
    std::uint64_t gehalteneFlaggen() override;
    std::uint64_t eigeneFlaggen(std::uint64_t flaggen) override;
    std::string zeichen(std::uint16_t code) override;

    // How the last key for an application was delivered: "xtest", "gesendet" or
    // "aktiviert" (for tests and the log).
    std::string letzterWeg() const;

private:
    void perXTest(std::uint16_t code, std::uint64_t flaggen);
    void gesendet(std::uint32_t fenster, std::uint16_t code, std::uint64_t flaggen);
    void nachAktivierung(std::uint32_t fenster, std::uint16_t code, std::uint64_t flaggen, int versuche);
    void merkeWeg(const char* weg);
    bool rohesEreignis(const xcb_generic_event_t* e);
    void merkeBewegung();

    XVerbindung& x_;
    XTastatur& tastatur_;
    mutable std::mutex wegSperre_;
    std::string letzterWeg_;
    std::uint8_t xiOpcode_ = 0;
    // When the pointer last moved (steady clock, nanoseconds since its epoch).
    std::atomic<std::int64_t> letzteBewegung_;
    Marke ereignisMarke_;
};

// Window classes of applications that ignore key events sent by other clients.
bool ignoriertGesendeteTasten(const FensterKlasse& klasse);

}  // namespace klebwerk::x11
