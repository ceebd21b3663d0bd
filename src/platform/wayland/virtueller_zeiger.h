#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "platform/geometrie.h"

namespace klebwerk::wayland {

// A pointer of this process's own on the compositor's seat (the wlroots virtual pointer
// protocol): it moves to a point of the layout, in top-left global coordinates, and
// presses and releases buttons where it is. Its own connection to the compositor;
// callable from any thread, it never waits for the compositor after it is set up.
class VirtuellerZeiger {
public:
    // Connects to WAYLAND_DISPLAY (or `anzeige`).
    explicit VirtuellerZeiger(const std::string& anzeige = {});
    ~VirtuellerZeiger();

    // Why the pointer cannot be used; empty when it is ready.
    std::string stoerung() const;
    // Moves the pointer to `wo` (held inside the layout). False, with the reason, when
    // the layout is not known or the compositor is gone.
    bool bewege(Punkt wo, std::string& fehler);
    // Presses or releases the left or right button where the pointer is.
    bool taste(bool links, bool runter, std::string& fehler);

    struct Zustand;

private:
    bool schicke(std::string& fehler);

    mutable std::mutex sperre_;
    std::unique_ptr<Zustand> z_;
};

}  // namespace klebwerk::wayland
