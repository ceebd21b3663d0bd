#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace klebwerk::wayland {

// The message types of sway's IPC (the i3 IPC numbering) that this backend uses.
enum class IpcArt : std::uint32_t {
    befehl = 0,     // run_command: a command list, as in sway's config
    abo = 2,        // subscribe: events of the named kinds on this connection
    baum = 4,       // get_tree: every output, workspace and window
    version = 7,    // get_version
    konfiguration = 9,  // get_config: the text of the config last loaded
};

// A reply, or why there is none (no compositor, refused, no answer within the time).
struct IpcAntwort {
    std::optional<std::string> daten;
    std::string fehler;

    bool gelungen() const { return daten.has_value(); }
};

// A client of sway's IPC socket. Each request opens a connection of its own, so that
// a reply that came too late can never be taken for the answer to a later request;
// callable from any thread.
class SwayIpc {
public:
    explicit SwayIpc(std::string socketPfad) : pfad_(std::move(socketPfad)) {}
    // The socket named in SWAYSOCK; none when it is not set.
    static std::optional<SwayIpc> ausUmgebung();

    // Sends one message and waits at most `frist` seconds for its reply.
    IpcAntwort anfrage(IpcArt art, const std::string& nutzlast, double frist = 1.0) const;
    const std::string& pfad() const { return pfad_; }

private:
    std::string pfad_;
};

// The type of sway's window events on a subscribed connection.
inline constexpr std::uint32_t fensterEreignisArt = 0x80000003;
// The type of the events of a binding that ran.
inline constexpr std::uint32_t bindungsEreignisArt = 0x80000005;

// A subscription to sway's events on a connection of its own, read on a thread of its
// own: `ereignis` receives each event's type and payload there, `ende` the reason once
// the subscription ends on its own (sway gone, refused). Dropping the object ends it
// without calling `ende`.
class SwayAbo {
public:
    SwayAbo(const SwayIpc& ipc, const std::vector<std::string>& arten,
            std::function<void(std::uint32_t, const std::string&)> ereignis, std::function<void(const std::string&)> ende);
    ~SwayAbo();
    SwayAbo(const SwayAbo&) = delete;
    SwayAbo& operator=(const SwayAbo&) = delete;
    // Whether sway has confirmed the subscription: events from then on arrive.
    bool bestaetigt() const { return bestaetigt_; }

private:
    void laufe(std::string pfad, std::string anfrage);
    std::function<void(std::uint32_t, const std::string&)> ereignis_;
    std::function<void(const std::string&)> ende_;
    int wecker_ = -1;
    std::atomic<bool> bestaetigt_{false};
    std::thread thread_;
};

// The frame of one message: the magic "i3-ipc", the payload's length and the type, both
// 32-bit in the machine's byte order, then the payload.
std::string ipcRahmen(IpcArt art, const std::string& nutzlast);

}  // namespace klebwerk::wayland
