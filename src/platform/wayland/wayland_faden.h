#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <limits>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct pollfd;
struct wl_display;
struct wl_registry;
struct wl_registry_listener;

namespace klebwerk::wayland {

// Monotonic seconds, for the waits of a Wayland thread.
double sekundenJetzt();

// A connection to the compositor served on a thread of its own, so that Qt's connection
// and the main thread never wait for another program. One poll loop takes work handed
// over from other threads (an eventfd wakes it), the connection's events, and the file
// descriptors a subclass adds. A subclass connects (`verbinde`, mostly through
// `oeffne`) and lets go (`trenne`); after a failure (`scheitere`) the thread goes on
// without a connection and the reason stays in `stoerung`.
//
// The owner calls `starte` once the subclass is complete and `halte` before it goes.
class WaylandFaden {
public:
    // `anzeigeName`: the compositor (WAYLAND_DISPLAY when empty); `bereich` heads the
    // log line of a failure.
    WaylandFaden(std::string anzeigeName, std::string bereich);
    virtual ~WaylandFaden();
    WaylandFaden(const WaylandFaden&) = delete;
    WaylandFaden& operator=(const WaylandFaden&) = delete;

    void starte();
    // Waits up to `frist` seconds until the connection is set up or has failed; false
    // when that did not happen in time.
    bool warteAufEinrichtung(double frist);
    // Ends the loop and waits for the thread, which lets go of the connection.
    void halte();
    // Runs `arbeit` on the thread; any thread.
    void aufFaden(std::function<void()> arbeit);
    // Why the connection cannot serve; empty while it can. Any thread.
    std::string stoerung() const;

    // Guards `stoerung` and whatever else a subclass shares with other threads.
    mutable std::mutex sperre;

    // On the thread:
    // Connects and binds through `hoerer` (with `daten`); `runden` roundtrips.
    bool oeffne(const wl_registry_listener& hoerer, void* daten, int runden);
    // Lets go of the registry and the connection.
    void trenneAnzeige();
    // The connection fails for `grund`: the first reason is kept and logged once.
    void scheitere(const std::string& grund);

    const std::string anzeigeName;
    wl_display* anzeige = nullptr;
    wl_registry* register_ = nullptr;
    bool tot = false;  // no (more) connection: every request fails with `stoerung`

protected:
    static constexpr double keineFrist = std::numeric_limits<double>::infinity();

    // On the thread, first: connects; false after `scheitere`.
    virtual bool verbinde() = 0;
    // On the thread: lets go of every proxy and of the connection (also of a part made
    // by a failed `verbinde`).
    virtual void trenne() = 0;
    // On the thread, when the loop ends.
    virtual void schliesse() { trenne(); }
    // On the thread, after a failure: what the subclass gives up.
    virtual void beiStoerung(const std::string&) {}
    // Adds descriptors to the wait; returns when the wait ends at the latest (in
    // `sekundenJetzt`), `keineFrist` for no bound.
    virtual double fuegeWartendeHinzu(std::vector<pollfd>&) { return keineFrist; }
    // After the wait, once the connection's events are handled; `pfds` as filled.
    virtual void nachWarten(const std::vector<pollfd>&) {}

private:
    void laufe();

    const std::string bereich_;
    int wecker_ = -1;
    std::thread thread_;
    std::condition_variable eingerichtet_;
    // Under `sperre`.
    bool fertigEingerichtet_ = false;
    bool ende_ = false;
    std::deque<std::function<void()>> auftraege_;
    std::string stoerung_;
};

}  // namespace klebwerk::wayland
