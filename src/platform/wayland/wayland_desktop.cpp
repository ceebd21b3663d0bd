#include "platform/wayland/wayland_desktop.h"

#include "basis/protokoll.h"

namespace klebwerk::wayland {

WaylandDesktop::WaylandDesktop(SwayIpc ipc_)
    : ipc(std::move(ipc_)), anmeldeobjekt(linuxdesk::LinuxNeustart().eigenesProgramm(), linuxdesk::installierteProgramme()) {}

void WaylandDesktop::meldeStoerungen() {
    if (std::string s = ablage.stoerung(); !s.empty()) protokoll("clipboard: " + s);
    if (std::string s = tastatur.stoerung(); !s.empty()) protokoll("keyboard: " + s);
    if (std::string s = zeiger.stoerung(); !s.empty()) protokoll("pointer: " + s);
    if (std::string s = abgriff.stoerung(); !s.empty()) protokoll("overlay: " + s);
}

Plattform WaylandDesktop::plattform() {
    return Plattform{schleife, ax,          fensterliste, arbeitsplatz, ablage, eingabe, abgriff,
                     kuerzel,  praeferenzen, bildschirme, anmeldeobjekt, neustart, klang, befehle,
                     sprachen, ordner,      dateien,      beendigung, werkzeug, systemkuerzel, eigeneFenster};
}

}  // namespace klebwerk::wayland
