#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace klebwerk::wayland {

// The message types of sway's IPC (the i3 IPC numbering) that this backend uses.
enum class IpcArt : std::uint32_t {
    befehl = 0,     // run_command: a command list, as in sway's config
    baum = 4,       // get_tree: every output, workspace and window
    version = 7,    // get_version
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

// The frame of one message: the magic "i3-ipc", the payload's length and the type, both
// 32-bit in the machine's byte order, then the payload.
std::string ipcRahmen(IpcArt art, const std::string& nutzlast);

}  // namespace klebwerk::wayland
