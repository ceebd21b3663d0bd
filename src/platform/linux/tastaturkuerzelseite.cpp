#include "platform/linux/tastaturkuerzelseite.h"

#include <cstdlib>

#include "basis/protokoll.h"
#include "platform/linux/linux_systemkuerzel.h"
#include "platform/linux/prozessstart.h"

namespace klebwerk::linuxdesk {

std::optional<Einstellungsprogramm> tastaturkuerzelProgramm(KuerzelDesktop desktop,
                                                            const std::function<std::string(const std::string&)>& finde) {
    std::string name;
    std::vector<std::string> argumente;
    switch (desktop) {
        case KuerzelDesktop::gnome:
            name = "gnome-control-center";
            argumente = {"keyboard"};
            break;
        case KuerzelDesktop::kde:
            name = "systemsettings";
            argumente = {"kcm_keys"};
            break;
        case KuerzelDesktop::anderer:
            return std::nullopt;
    }
    std::string pfad = finde(name);
    if (pfad.empty()) return std::nullopt;
    return Einstellungsprogramm{pfad, argumente};
}

bool oeffneTastaturkuerzel() {
    const char* d = std::getenv("XDG_CURRENT_DESKTOP");
    auto p = tastaturkuerzelProgramm(kuerzelDesktopAus(d ? d : ""), findeProgramm);
    if (!p) {
        protokoll("Keine Einstellungen der Tastaturkurzbefehle auf diesem Desktop");
        return false;
    }
    const bool geoeffnet = starteLoesgeloest(p->programm, p->argumente);
    protokoll((geoeffnet ? "Einstellungen der Tastaturkurzbefehle geöffnet: "
                         : "Einstellungen der Tastaturkurzbefehle nicht startbar: ") +
              p->programm);
    return geoeffnet;
}

}  // namespace klebwerk::linuxdesk
