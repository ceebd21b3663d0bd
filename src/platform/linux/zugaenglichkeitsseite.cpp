#include "platform/linux/zugaenglichkeitsseite.h"

#include "basis/protokoll.h"
#include "platform/atspi/atspi_status.h"
#include "platform/linux/prozessstart.h"

namespace klebwerk::linuxdesk {

std::optional<Einstellungsprogramm> zugaenglichkeitsProgramm(const std::function<std::string(const std::string&)>& finde) {
    struct Bekannt {
        const char* name;
        std::vector<std::string> argumente;
    };
    const Bekannt bekannte[] = {
        {"gnome-control-center", {"universal-access"}},
        {"systemsettings", {"kcm_access"}},
        {"xfce4-accessibility-settings", {}},
        {"mate-at-properties", {}},
    };
    for (const Bekannt& b : bekannte) {
        std::string pfad = finde(b.name);
        if (!pfad.empty()) return Einstellungsprogramm{pfad, b.argumente};
    }
    return std::nullopt;
}

bool oeffneZugaenglichkeit() {
    const bool an = atspi::schalteZugaenglichkeitEin() && atspi::zugaenglichkeitAn().value_or(false);
    protokoll(an ? "Zugänglichkeit eingeschaltet" : "Zugänglichkeit nicht einschaltbar");
    bool geoeffnet = false;
    if (auto p = zugaenglichkeitsProgramm(findeProgramm)) {
        geoeffnet = starteLoesgeloest(p->programm, p->argumente);
        protokoll((geoeffnet ? "Einstellungen der Zugänglichkeit geöffnet: " : "Einstellungen der Zugänglichkeit nicht startbar: ") +
                  p->programm);
    } else {
        protokoll("Keine Einstellungen der Zugänglichkeit auf diesem Desktop");
    }
    return an || geoeffnet;
}

}  // namespace klebwerk::linuxdesk
