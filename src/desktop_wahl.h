#pragma once

#include <memory>
#include <optional>

#include "platform/plattform.h"
#include "platform/wayland/sway_ipc.h"

namespace klebwerk {

namespace x11 {
class X11Desktop;
}
namespace wayland {
class WaylandDesktop;
}

// A sway session: WAYLAND_DISPLAY and SWAYSOCK are set and sway answers on its socket
// within a short time. Nothing otherwise: then the X11 desktop serves.
std::optional<wayland::SwayIpc> swaySitzung();

// Before the Qt application exists: Qt's windows on the window system of the backend
// (Wayland in a sway session), unless the user chose a Qt platform.
void waehleQtPlattform(bool sway);

// The desktop backend this process runs on. Made after the Qt application object.
class Desktop {
public:
    explicit Desktop(std::optional<wayland::SwayIpc> sway);
    ~Desktop();
    Plattform plattform();
    Sprachen& sprachen();
    // Which desktop this is, and what of it does not work, into the log (once the log
    // has its folder).
    void meldeStart();

private:
    std::unique_ptr<x11::X11Desktop> x11_;
    std::unique_ptr<wayland::WaylandDesktop> wayland_;
};

}  // namespace klebwerk
