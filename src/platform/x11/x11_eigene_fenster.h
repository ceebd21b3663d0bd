#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <set>

#include "platform/eigene_fenster.h"
#include "platform/marke.h"
#include "platform/x11/x_verbindung.h"

namespace klebwerk::x11 {

// The window states that toolkit flags do not give, asked of the window manager with
// EWMH client messages to the root: _NET_WM_STATE (sticky, skip taskbar, skip pager,
// above) and _NET_WM_DESKTOP 0xFFFFFFFF (every workspace). Such messages only count
// for a managed window, so they are sent once the window has entered the client list.
class X11EigeneFenster : public EigeneFenster {
public:
    explicit X11EigeneFenster(XVerbindung& x);
    ~X11EigeneFenster() override;

    void schwebend(std::uint64_t fenster) override;

private:
    void sende(std::uint32_t fenster);

    XVerbindung& x_;
    std::mutex sperre_;
    std::set<std::uint32_t> wartend_;  // shown, not yet managed
    Marke beobachter_;
};

}  // namespace klebwerk::x11
