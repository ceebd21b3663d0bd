#include "desktop_wahl.h"

#include <cstdlib>

#include <QtGlobal>

#include "basis/protokoll.h"
#include "platform/wayland/wayland_desktop.h"
#include "platform/x11/x11_desktop.h"

namespace klebwerk {

std::optional<wayland::SwayIpc> swaySitzung() {
    const char* anzeige = std::getenv("WAYLAND_DISPLAY");
    if (!anzeige || !*anzeige) return std::nullopt;
    auto ipc = wayland::SwayIpc::ausUmgebung();
    if (!ipc) return std::nullopt;
    // A socket left behind by a sway that has ended does not count.
    if (!ipc->anfrage(wayland::IpcArt::version, {}, 0.5).gelungen()) return std::nullopt;
    return ipc;
}

void waehleQtPlattform(bool sway) {
    if (sway && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "wayland");
}

Desktop::Desktop(std::optional<wayland::SwayIpc> sway) {
    if (sway) {
        wayland_ = std::make_unique<wayland::WaylandDesktop>(std::move(*sway));
    } else {
        x11_ = std::make_unique<x11::X11Desktop>();
    }
}

Desktop::~Desktop() = default;

void Desktop::meldeStart() {
    if (!wayland_) {
        protokoll("Desktop: X11");
        return;
    }
    protokoll("Desktop: sway (" + wayland_->ipc.pfad() + ")");
    wayland_->meldeStoerungen();
}

Plattform Desktop::plattform() { return wayland_ ? wayland_->plattform() : x11_->plattform(); }

Sprachen& Desktop::sprachen() {
    if (wayland_) return wayland_->sprachen;
    return x11_->sprachen;
}

}  // namespace klebwerk
