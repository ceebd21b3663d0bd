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
    auto nachricht = [this, fenster](xcb_atom_t art, std::uint32_t d0, std::uint32_t d1, std::uint32_t d2,
                                     std::uint32_t d3) {
        xcb_client_message_event_t n{};
        n.response_type = XCB_CLIENT_MESSAGE;
        n.format = 32;
        n.window = fenster;
        n.type = art;
        n.data.data32[0] = d0;
        n.data.data32[1] = d1;
        n.data.data32[2] = d2;
        n.data.data32[3] = d3;
        xcb_send_event(x_.xcb(), 0, x_.wurzel(),
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&n));
    };
    const xcb_atom_t zustand = x_.atom("_NET_WM_STATE");
    // Two states per message, as the protocol allows.
    nachricht(zustand, hinzufuegen, x_.atom("_NET_WM_STATE_STICKY"), x_.atom("_NET_WM_STATE_SKIP_TASKBAR"),
              quelleAnwendung);
    nachricht(zustand, hinzufuegen, x_.atom("_NET_WM_STATE_SKIP_PAGER"), x_.atom("_NET_WM_STATE_ABOVE"),
              quelleAnwendung);
    nachricht(x_.atom("_NET_WM_DESKTOP"), alleArbeitsflaechen, quelleAnwendung, 0, 0);
    xcb_flush(x_.xcb());
}

}  // namespace klebwerk::x11
