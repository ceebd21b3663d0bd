#include "platform/x11/x11_desktop.h"

namespace klebwerk::x11 {

X11Desktop::X11Desktop()
    : arbeitsplatz(x, schleife), fensterliste(x, arbeitsplatz), ablage(x, schleife), tastatur(x), eingabe(x, tastatur),
      abgriff(x, tastatur, schleife),
      kuerzel(x, tastatur, schleife),
      anmeldeobjekt(linuxdesk::LinuxNeustart().eigenesProgramm(), linuxdesk::installierteProgramme()) {}

Plattform X11Desktop::plattform() {
    return Plattform{schleife, ax,          fensterliste, arbeitsplatz, ablage, eingabe, abgriff,
                     kuerzel,  praeferenzen, bildschirme, anmeldeobjekt, neustart, klang, befehle,
                     sprachen, ordner,      dateien,      beendigung, werkzeug, systemkuerzel, eigeneFenster};
}

}  // namespace klebwerk::x11
