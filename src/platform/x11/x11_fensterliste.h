#pragma once

#include "platform/fensterliste.h"
#include "platform/x11/x11_arbeitsplatz.h"
#include "platform/x11/x_verbindung.h"

namespace klebwerk::x11 {

// The on-screen windows from the X thread's snapshot, front to back: mapped, not
// minimised, on the current desktop; this process's own windows left out. Bounds are
// the client areas in root coordinates (what the accessibility side reports too).
class X11Fensterliste : public Fensterliste {
public:
    X11Fensterliste(XVerbindung& x, X11Arbeitsplatz& arbeitsplatz) : x_(x), arbeitsplatz_(arbeitsplatz) {}
    std::vector<FensterInfo> fenster() override;

private:
    XVerbindung& x_;
    X11Arbeitsplatz& arbeitsplatz_;
};

}  // namespace klebwerk::x11
