#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include <xcb/xcb.h>

#include "platform/geometrie.h"
#include "platform/marke.h"
#include "platform/x11/ewmh_werte.h"

namespace klebwerk::x11 {

// One managed top-level window as the X side knows it.
struct XFenster {
    std::uint32_t id = 0;  // the client window (the window number)
    int pid = 0;           // _NET_WM_PID, 0 when unset
    std::string titel;     // _NET_WM_NAME, else WM_NAME
    Rechteck rahmen;       // the client area in root coordinates
    Rechteck aussen;       // the same with the window manager's frame (_NET_FRAME_EXTENTS)
    std::string art = "normal";  // from _NET_WM_WINDOW_TYPE, see `fensterart`
    int schicht = 0;       // 0 for normal windows only
    FensterKlasse klasse;  // WM_CLASS
    std::uint32_t transientFuer = 0;
    bool abgebildet = false;
    bool versteckt = false;      // _NET_WM_STATE_HIDDEN (minimised)
    std::int64_t desktop = -1;   // _NET_WM_DESKTOP, -1 when unset
    bool sichtbar = false;       // on screen now: mapped, not minimised, on the current desktop
    bool eigenes = false;        // a window of this process
    // The child of the root window that holds it (the window manager's frame, or the
    // window itself); 0 while unknown.
    std::uint32_t huelle = 0;
};

// Windows that bypass the window manager (override-redirect: menus, tooltips, popups)
// are listed on a layer of their own.
inline constexpr const char* ueberlagerungsArt = "ueberlagerung";
inline constexpr int ueberlagerungsSchicht = 101;

enum class FensterAenderung { neu, titel, rahmen, zustand, zerstoert };

// The backend's own X connection and the one thread that reads it. Qt's connection
// stays Qt's: nothing here touches it. The thread keeps the window list and the
// active window current from property and structure events, never waits for the
// main thread, and answers reads from a snapshot that any thread may take.
//
// X errors arrive as plain error replies on this connection (no Xlib, so no default
// handler that ends the process): they are counted and, now and then, logged. A lost
// connection ends the thread; every read then answers from the last snapshot or empty.
class XVerbindung {
public:
    // Connects to `anzeige` (empty: $DISPLAY) and starts the thread.
    explicit XVerbindung(const std::string& anzeige = {});
    ~XVerbindung();
    XVerbindung(const XVerbindung&) = delete;
    XVerbindung& operator=(const XVerbindung&) = delete;

    bool verbunden() const;

    // --- The windows (any thread) ---

    // Every window of `_NET_CLIENT_LIST_STACKING`, front to back, visible or not;
    // this process's own windows only when asked for.
    std::vector<XFenster> fenster(bool mitEigenen = false) const;
    std::optional<XFenster> fensterMit(std::uint32_t id) const;
    // Everything on screen now, front to back in the server's real stacking order:
    // the managed windows that are visible, this process's own included, and the
    // mapped override-redirect windows (art `ueberlagerungsArt`).
    std::vector<XFenster> allesAufBildschirm() const;
    // `_NET_ACTIVE_WINDOW`; 0 when none.
    std::uint32_t aktivesFenster() const;
    // Rises with every change of the window snapshot.
    std::uint64_t stand() const;
    // Waits (bounded) until the thread has handled every event that the server had
    // sent up to this call; false when the bound ran out. For tests and for callers
    // that just caused a change and want to read it.
    bool gleicheAb(double frist);

    // Called on the X thread after a window changed or left (left: DestroyNotify or
    // leaving the client list, never a mere unmap). Must not block; values only.
    Marke beobachteFenster(std::function<void(std::uint32_t id, FensterAenderung)> rueckruf);

    // Asks the window manager to activate the window (`_NET_ACTIVE_WINDOW`, source
    // indication 2, a current server time stamp). Returns at once; false without a connection.
    bool aktiviereFenster(std::uint32_t id);
    // Asks the window manager to raise the window above its siblings (`_NET_RESTACK_WINDOW`).
    bool hebeFenster(std::uint32_t id);

    // --- The thread, for the services built on it ---

    bool imXFaden() const { return std::this_thread::get_id() == faden_.get_id(); }
    // Runs `arbeit` on the X thread: at once when called there, else soon.
    void aufX(std::function<void()> arbeit);
    // Runs `arbeit` on the X thread and waits at most `frist` seconds for its value.
    template <class T>
    std::optional<T> frage(std::function<T()> arbeit, double frist);
    // An event handler on the X thread, before the window tracking sees the event;
    // true means the event was consumed.
    Marke beiEreignis(std::function<bool(const xcb_generic_event_t*)> handler);
    // A file descriptor watched by the X thread's loop (a pidfd, say).
    Marke beiLesbar(int fd, std::function<void()> rueckruf);
    // Work on the X thread after `sekunden`.
    Marke nachX(double sekunden, std::function<void()> arbeit);
    // A current server time stamp, on the X thread, from a property change of the
    // helper window (never CurrentTime: the window manager and selection owners
    // need a real time).
    void zeitstempel(std::function<void(xcb_timestamp_t)> rueckruf);

    xcb_connection_t* xcb() const { return c_; }
    xcb_window_t wurzel() const { return wurzel_; }
    // An unmapped helper window of this connection (time stamps, selection ownership).
    xcb_window_t helfer() const { return helfer_; }
    // Interned atom (cached); any thread.
    xcb_atom_t atom(const std::string& name);
    std::string atomName(xcb_atom_t atom);

    struct Eigenschaft {
        bool gesetzt = false;
        xcb_atom_t typ = XCB_NONE;
        int format = 0;
        std::string daten;
        std::uint32_t rest = 0;  // bytes beyond what was read
    };
    // Reads a property whole (up to `hoechstens` bytes); any thread, one round trip.
    Eigenschaft lies(xcb_window_t fenster, xcb_atom_t eigenschaft, xcb_atom_t typ = XCB_GET_PROPERTY_TYPE_ANY,
                     std::uint32_t hoechstens = 1u << 20);

    // The error replies seen so far (for tests).
    std::uint64_t xFehler() const { return fehlerZahl_; }

    // A client message of that type about `fenster` to the window manager (through
    // the root); from any thread.
    bool sendeWmNachricht(std::uint32_t fenster, const char* art, std::uint32_t d0, std::uint32_t d1,
                          std::uint32_t d2, std::uint32_t d3);

private:
    void lauf();
    void fuehreAufgabenAus();
    void leereEreignisse();
    void fuehreZeitgeberAus();
    void verarbeite(xcb_generic_event_t* e);
    void fehler(const xcb_generic_error_t* f);
    void liesStapel();
    void liesAktiv();
    void liesDesktop();
    void neuesFenster(std::uint32_t id);
    void liesTitel(std::uint32_t id);
    void liesRahmen(std::uint32_t id);
    void liesZustand(std::uint32_t id);
    void entferneFenster(std::uint32_t id);
    void liesHuelle(std::uint32_t id);
    void liesWurzel();
    void neueUeberlagerung(std::uint32_t id, bool abgebildet);
    bool wurzelEreignis(xcb_generic_event_t* e);
    void melde(std::uint32_t id, FensterAenderung a);
    void veroeffentliche();
    void wecke();
    void nachFremdemWarten();

    xcb_connection_t* c_ = nullptr;
    xcb_window_t wurzel_ = 0;
    xcb_window_t helfer_ = 0;
    int eigenePid_ = 0;
    int weckFd_ = -1;
    std::atomic<bool> ende_{false};
    std::atomic<bool> verbunden_{false};
    std::atomic<std::uint64_t> fehlerZahl_{0};

    mutable std::mutex atomSperre_;
    std::unordered_map<std::string, xcb_atom_t> atome_;
    std::unordered_map<xcb_atom_t, std::string> atomNamen_;

    std::mutex aufgabenSperre_;
    std::vector<std::function<void()>> aufgaben_;

    // Handlers, watchers and timers: changed from any thread, used on the X thread.
    // Recursive, so that a handler may drop its own token on the X thread.
    std::recursive_mutex rueckrufSperre_;
    std::uint64_t naechsteNummer_ = 1;
    std::map<std::uint64_t, std::function<bool(const xcb_generic_event_t*)>> handler_;
    std::map<std::uint64_t, std::function<void(std::uint32_t, FensterAenderung)>> beobachter_;
    std::map<std::uint64_t, std::pair<int, std::function<void()>>> leser_;
    std::multimap<std::chrono::steady_clock::time_point, std::pair<std::uint64_t, std::function<void()>>> zeitgeber_;
    std::vector<std::function<void(xcb_timestamp_t)>> zeitWartende_;

    // The window state, owned by the X thread.
    std::unordered_map<std::uint32_t, XFenster> stand_;
    std::vector<std::uint32_t> stapel_;  // front to back
    std::uint32_t aktiv_ = 0;
    std::int64_t aktuellerDesktop_ = -1;
    bool geaendert_ = false;
    std::vector<std::pair<std::uint32_t, FensterAenderung>> meldungen_;
    // The root's children, front to back, and the override-redirect ones among them.
    std::vector<std::uint32_t> wurzelKinder_;
    std::unordered_map<std::uint32_t, XFenster> ueberlagerungen_;
    bool wurzelAlt_ = true;
    std::uint8_t formEreignis_ = 0;  // the shape extension's notify event; 0 without it

    // The snapshot for readers.
    mutable std::mutex schnappSperre_;
    std::vector<XFenster> schnappschuss_;
    std::vector<XFenster> schnappAlle_;
    std::uint32_t schnappAktiv_ = 0;
    std::atomic<std::uint64_t> schnappStand_{0};

    std::thread faden_;
};

template <class T>
std::optional<T> XVerbindung::frage(std::function<T()> arbeit, double frist) {
    if (imXFaden()) return arbeit();
    if (!verbunden()) return std::nullopt;
    auto versprechen = std::make_shared<std::promise<T>>();
    auto ergebnis = versprechen->get_future();
    aufX([versprechen, arbeit = std::move(arbeit)] { versprechen->set_value(arbeit()); });
    if (ergebnis.wait_for(std::chrono::duration<double>(frist)) != std::future_status::ready) return std::nullopt;
    try {
        return ergebnis.get();
    } catch (...) {
        return std::nullopt;
    }
}

}  // namespace klebwerk::x11
