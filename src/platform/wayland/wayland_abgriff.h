#pragma once

#include <atomic>
#include <memory>
#include <optional>
#include <string>

#include "platform/ereignisabgriff.h"
#include "platform/laufschleife.h"

namespace klebwerk::wayland {

// The event tap on a wlroots compositor. A Wayland client sees input only on its own
// surfaces, so a tap that takes something lays an overlay of its own over the desktop:
// a transparent full-screen surface on the layer shell's overlay layer of every output,
// with the keyboard exclusively.
// - the swallowed left button (choosing): the overlay takes the pointer, so every
//   button, the wheel and motion come to it; presses, releases and motion are
//   reported in top-left global coordinates (the output's place from xdg-output);
// - swallowed keys without the left button (recording a shortcut): the overlay has an
//   empty input region, the pointer reaches the windows as before;
// - with the keyboard on the overlay, every key is taken, not only the swallowed ones:
//   keys are reported as taken, modifier keys as changed flags.
// Listening without taking (listen-only) is not possible: such a tap is refused with
// an empty token, and the session's log says once why.
// Everything Wayland happens on a thread of its own with its own connection; the
// handler runs on the main thread through the run loop. Dropping the token takes the
// overlay away at once, without waiting for the compositor.
class WaylandAbgriff : public Ereignisabgriff {
public:
    // Connects to the compositor named by WAYLAND_DISPLAY (or `anzeige`), waiting for
    // the connection's set-up within a bound.
    explicit WaylandAbgriff(Laufschleife& schleife, const std::string& anzeige = {});
    ~WaylandAbgriff() override;

    Marke starte(const AbgriffRegel& regel, std::function<void(const AbgriffEreignis&)> handler) override;

    // Why no tap can be set up (no compositor, no layer shell); empty when taps work.
    std::string stoerung() const;
    // The overlay surfaces the compositor shows now: counted once the compositor has
    // handled their set-up, and no longer once it has handled their removal.
    int gezeigteFlaechen() const { return gezeigt_; }
    // Whether an overlay has the keyboard focus.
    bool hatTastatur() const { return tastatur_; }
    // Where the pointer is, while it is over an overlay that takes it.
    std::optional<Punkt> zeiger() const;

    struct Faden;  // the Wayland thread's state

private:
    void aufFaden(std::function<void(Faden&)> arbeit);

    Laufschleife& schleife_;
    std::atomic<int> gezeigt_{0};
    std::atomic<bool> tastatur_{false};
    std::atomic<bool> nurTastenGemeldet_{false};
    std::unique_ptr<Faden> faden_;
};

}  // namespace klebwerk::wayland
