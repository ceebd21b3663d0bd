#pragma once

#include <map>
#include <memory>
#include <mutex>

#include "platform/atspi/desktop_fenster.h"
#include "platform/x11/x_verbindung.h"

namespace klebwerk::x11 {

// The X windows as the accessibility layer pairs them: the window manager's client
// list, titles from _NET_WM_NAME (else WM_NAME), geometry in root coordinates. A window
// is gone on DestroyNotify or when it leaves the client list, never on a mere unmap
// (openbox unmaps on minimising and on a workspace switch).
class XDesktopFenster : public atspi::DesktopFenster {
public:
    explicit XDesktopFenster(XVerbindung& x);
    std::vector<atspi::FensterFakten> kandidaten() override;
    std::optional<atspi::FensterFakten> fenster(std::int64_t nummer) override;
    std::int64_t aktives() override;
    bool hebe(std::int64_t nummer) override;
    Marke beobachte(std::int64_t nummer, std::function<void(Aenderung)> rueckruf) override;

private:
    // The followers of single windows, behind one subscription to the X thread. Tokens
    // hold it weakly, so that one dropped after this object (a target kept alive by
    // work still queued at exit) does nothing.
    struct Abos {
        std::mutex sperre;
        std::uint64_t naechste = 1;
        std::multimap<std::uint32_t, std::pair<std::uint64_t, std::function<void(Aenderung)>>> nachFenster;
    };
    XVerbindung& x_;
    std::shared_ptr<Abos> abos_ = std::make_shared<Abos>();
    Marke xMarke_;
};

}  // namespace klebwerk::x11
