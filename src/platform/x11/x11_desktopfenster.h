#pragma once

#include "platform/atspi/desktop_fenster.h"
#include "platform/x11/x_verbindung.h"

namespace klebwerk::x11 {

// The X windows as the accessibility layer pairs them: the window manager's client
// list, titles from _NET_WM_NAME (else WM_NAME), geometry in root coordinates. A window
// is gone on DestroyNotify or when it leaves the client list, never on a mere unmap
// (openbox unmaps on minimising and on a workspace switch).
class XDesktopFenster : public atspi::DesktopFenster {
public:
    explicit XDesktopFenster(XVerbindung& x) : x_(x) {}
    std::vector<atspi::FensterFakten> kandidaten() override;
    std::optional<atspi::FensterFakten> fenster(std::int64_t nummer) override;
    std::int64_t aktives() override;
    bool hebe(std::int64_t nummer) override;
    Marke beobachte(std::int64_t nummer, std::function<void(Aenderung)> rueckruf) override;

private:
    XVerbindung& x_;
};

}  // namespace klebwerk::x11
