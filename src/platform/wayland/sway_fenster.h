#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/fensterliste.h"
#include "platform/wayland/sway_baum.h"
#include "platform/wayland/sway_ipc.h"

namespace klebwerk::wayland {

// Every window sway has, front to back, or why they could not be read.
struct FensterLesung {
    std::vector<SwayFenster> fenster;
    std::optional<std::string> fehler;

    bool gelesen() const { return !fehler; }
};

// The window services of sway, from its IPC: the windows with their process, title,
// app id and area, which one has the focus, and activation. Every call asks sway anew
// and waits at most `frist` seconds; callable from any thread.
class SwayFensterdienst {
public:
    explicit SwayFensterdienst(SwayIpc ipc, double frist = 1.0) : ipc_(std::move(ipc)), frist_(frist) {}

    FensterLesung lies() const;
    // The window that has the keyboard focus; none when a bare workspace has it.
    std::optional<SwayFenster> fokussiertes(std::string& fehler) const;
    // Gives the focus to the window (sway raises it, switching workspaces if needed).
    bool aktiviere(std::int64_t conId, std::string& fehler) const;
    // Gives the focus to the front window of a process: a shown one when it has one.
    bool aktivierePid(int pid, std::string& fehler) const;

private:
    SwayIpc ipc_;
    double frist_;
};

// The on-screen windows, front to back: the shown ones, this process's own left out.
// Bounds are the windows' content areas.
class SwayFensterliste : public Fensterliste {
public:
    explicit SwayFensterliste(const SwayFensterdienst& dienst);
    std::vector<FensterInfo> fenster() override;

private:
    const SwayFensterdienst& dienst_;
    int eigenePid_;
};

}  // namespace klebwerk::wayland
