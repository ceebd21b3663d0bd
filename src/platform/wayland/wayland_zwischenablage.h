#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "platform/laufschleife.h"
#include "platform/zwischenablage.h"

namespace klebwerk::wayland {

// The seat's clipboard through wlroots data control: a source of this process's own
// and a reader of everyone else's, without ever needing the keyboard focus. Everything
// Wayland happens on a thread of its own with its own connection to the compositor, so
// that Qt's connection and the main thread never wait for another program.
//
// Every type is kept under its MIME name, byte for byte, in the owner's order. The
// Wayland clipboard holds one item: writing several puts the first one on it, whole.
// Reading gives one item, or none when the clipboard is empty. A read goes on as long
// as the owner delivers; an owner silent for `stillefrist` seconds fails it, and so
// does a new selection while it runs. Results reach the main thread through the run
// loop.
//
// The change count rises with every new selection, and at once on this process's own
// writes, whose own selection event is then not counted again.
class WaylandZwischenablage : public Zwischenablage {
public:
    // Connects to the compositor named by WAYLAND_DISPLAY (or `anzeige`, when given).
    explicit WaylandZwischenablage(Laufschleife& schleife, const std::string& anzeige = {});
    ~WaylandZwischenablage() override;

    Marke lies(std::function<void(AblageLesung)> fertig) override;
    void leere() override;
    bool schreibe(const std::vector<AblageEintrag>& eintraege) override;
    std::int64_t aenderungen() override { return zaehler_; }
    // wlroots compositors have no clipboard manager protocol: nothing is handed over.
    AblageUebergabe uebergib(double frist) override;

    // Why the clipboard cannot work at all (no compositor, no data control); empty
    // once it is ready. Set before the constructor returns.
    std::string stoerung() const;

    // How long an owner may stay silent within a read, and a reader within a send.
    std::atomic<double> stillefrist{2.0};

    struct Faden;  // the Wayland thread's state

private:
    void aufFaden(std::function<void(Faden&)> arbeit);

    Laufschleife& schleife_;
    std::atomic<std::int64_t> zaehler_{0};
    std::unique_ptr<Faden> faden_;
};

}  // namespace klebwerk::wayland
