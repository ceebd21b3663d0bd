#include "platform/linux/xdg_anmeldeobjekt.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "basis/atomar.h"
#include "basis/ordner.h"

namespace klebwerk::linuxdesk {

std::string XdgAnmeldeobjekt::eintragPfad() { return xdgConfigOrdner() + "/autostart/klebwerk.desktop"; }

std::string XdgAnmeldeobjekt::execWert(const std::string& programm) {
    // Inside double quotes ", `, $ and \ take a backslash; the value's own escape
    // rule then doubles every backslash.
    std::string zitiert = "\"";
    for (char c : programm) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') zitiert += '\\';
        zitiert += c;
    }
    zitiert += '"';
    std::string wert;
    for (char c : zitiert) {
        if (c == '\\') wert += '\\';
        wert += c;
    }
    return wert;
}

std::string XdgAnmeldeobjekt::startProgramm(const std::string& laufendes,
                                            const std::vector<std::string>& installierte) {
    const std::string ordner = laufendes.substr(0, laufendes.find_last_of('/') + 1);
    struct stat info {};
    const bool gebaut = !ordner.empty() && stat((ordner + "CMakeCache.txt").c_str(), &info) == 0;
    if (!gebaut) return laufendes;
    for (const std::string& programm : installierte) {
        if (stat(programm.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(programm.c_str(), X_OK) == 0)
            return programm;
    }
    return laufendes;
}

int XdgAnmeldeobjekt::status() {
    std::ifstream datei(eintragPfad());
    if (!datei) return nichtAngemeldet;
    std::string zeile;
    while (std::getline(datei, zeile)) {
        if (zeile == "Hidden=true" || zeile == "X-GNOME-Autostart-enabled=false") return nichtAngemeldet;
    }
    return aktiv;
}

bool XdgAnmeldeobjekt::anmelden() {
    legeOrdnerAn(xdgConfigOrdner() + "/autostart");
    std::ostringstream eintrag;
    eintrag << "[Desktop Entry]\nType=Application\nName=Klebwerk\nExec=" << execWert(startProgramm(programm_, installierte_))
            << "\nX-GNOME-Autostart-enabled=true\nNoDisplay=true\n";
    return schreibeAtomar(eintragPfad(), eintrag.str());
}

bool XdgAnmeldeobjekt::abmelden() {
    std::string pfad = eintragPfad();
    return std::remove(pfad.c_str()) == 0 || status() == nichtAngemeldet;
}

std::vector<std::string> installierteProgramme() {
    std::vector<std::string> orte;
#ifdef KLEBWERK_INSTALLIERTES_PROGRAMM
    orte.push_back(KLEBWERK_INSTALLIERTES_PROGRAMM);
#endif
    if (orte.empty() || orte.front() != "/usr/bin/klebwerk") orte.push_back("/usr/bin/klebwerk");
    return orte;
}

}  // namespace klebwerk::linuxdesk
