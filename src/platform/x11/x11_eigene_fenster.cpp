#include "platform/x11/x11_eigene_fenster.h"

namespace klebwerk::x11 {

namespace {
constexpr std::uint32_t hinzufuegen = 1;       // _NET_WM_STATE_ADD
constexpr std::uint32_t quelleAnwendung = 1;   // source indication: a normal application
constexpr std::uint32_t alleArbeitsflaechen = 0xFFFFFFFF;
}  // namespace

X11EigeneFenster::X11EigeneFenster(XVerbindung& x) : x_(x) {
    beobachter_ = x_.beobachteFenster([this](std::uint32_t id, FensterAenderung a) {
        if (a != FensterAenderung::neu) return;
        {
            std::lock_guard lock(sperre_);
            if (!wartend_.erase(id)) return;
        }
        sende(id);
    });
}

X11EigeneFenster::~X11EigeneFenster() { beobachter_.aufheben(); }

void X11EigeneFenster::schwebend(std::uint64_t fenster) {
    const auto id = static_cast<std::uint32_t>(fenster);
    if (id == 0 || !x_.verbunden()) return;
    // Before the window manager can have taken the window: its entry in the client
    // list is what sends the messages.
    std::lock_guard lock(sperre_);
    wartend_.insert(id);
}

// On the X thread.
void X11EigeneFenster::sende(std::uint32_t fenster) {
    // Two states per message, as the protocol allows.
    x_.sendeWmNachricht(fenster, "_NET_WM_STATE", hinzufuegen, x_.atom("_NET_WM_STATE_STICKY"),
                        x_.atom("_NET_WM_STATE_SKIP_TASKBAR"), quelleAnwendung);
    x_.sendeWmNachricht(fenster, "_NET_WM_STATE", hinzufuegen, x_.atom("_NET_WM_STATE_SKIP_PAGER"),
                        x_.atom("_NET_WM_STATE_ABOVE"), quelleAnwendung);
    x_.sendeWmNachricht(fenster, "_NET_WM_DESKTOP", alleArbeitsflaechen, quelleAnwendung, 0, 0);
}

}  // namespace klebwerk::x11
