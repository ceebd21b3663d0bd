#pragma once

#include "platform/fensterliste.h"
#include "platform/x11/x11_arbeitsplatz.h"
#include "platform/x11/x_verbindung.h"

namespace klebwerk::x11 {

// The on-screen windows from the X thread's snapshot, front to back in the server's
// stacking order: managed windows that are mapped, not minimised and on the current
// desktop, and the windows that bypass the window manager (menus, popups) on a layer
// of their own; this process's own windows included, windows that take no pointer
// input left out. Bounds are the client areas in root coordinates (what the
// accessibility side reports too).
class X11Fensterliste : public Fensterliste {
public:
    X11Fensterliste(XVerbindung& x, X11Arbeitsplatz& arbeitsplatz) : x_(x), arbeitsplatz_(arbeitsplatz) {}
    std::vector<FensterInfo> fenster() override;

private:
    XVerbindung& x_;
    X11Arbeitsplatz& arbeitsplatz_;
};

}  // namespace klebwerk::x11
