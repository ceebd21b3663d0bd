#include "intake/fangordner.h"

#include <pwd.h>
#include <unistd.h>

namespace klebwerk {

std::string erweitereTilde(const std::string& pfad, const std::string& heim) {
    if (pfad.empty() || pfad[0] != '~') return pfad;
    size_t schraeg = pfad.find('/');
    std::string nutzer = pfad.substr(1, schraeg == std::string::npos ? std::string::npos : schraeg - 1);
    std::string rest = schraeg == std::string::npos ? std::string() : pfad.substr(schraeg);
    if (nutzer.empty()) return heim + rest;
    passwd eintrag{};
    passwd* gefunden = nullptr;
    char puffer[4096];
    if (getpwnam_r(nutzer.c_str(), &eintrag, puffer, sizeof puffer, &gefunden) != 0 || !gefunden ||
        !gefunden->pw_dir) {
        return pfad;  // an unknown user: left as it is
    }
    return std::string(gefunden->pw_dir) + rest;
}

std::string standardisiere(const std::string& pfad) {
    bool absolut = !pfad.empty() && pfad[0] == '/';
    std::vector<std::string> teile;
    size_t i = 0;
    while (i <= pfad.size()) {
        size_t ende = pfad.find('/', i);
        if (ende == std::string::npos) ende = pfad.size();
        std::string teil = pfad.substr(i, ende - i);
        if (teil == "..") {
            if (!teile.empty() && teile.back() != "..") {
                teile.pop_back();
            } else if (!absolut) {
                teile.push_back(teil);
            }
        } else if (!teil.empty() && teil != ".") {
            teile.push_back(teil);
        }
        i = ende + 1;
    }
    std::string ergebnis = absolut ? "/" : "";
    for (size_t k = 0; k < teile.size(); ++k) {
        if (k) ergebnis += "/";
        ergebnis += teile[k];
    }
    return ergebnis.empty() ? "." : ergebnis;
}

std::optional<std::string> ort(Praeferenzen& praeferenzen, const std::string& schluessel, const std::string& heim) {
    Wert w = praeferenzen.lies(bildschirmfotoDomaene, schluessel);
    const std::string* text = w.als<std::string>();
    if (!text || text->empty()) return std::nullopt;
    std::string pfad = erweitereTilde(*text, heim);
    // A relative path would name a folder relative to wherever the process started.
    if (pfad.empty() || pfad[0] != '/') return std::nullopt;
    return standardisiere(pfad);
}

Fangordner bestimmeFangordner(Praeferenzen& praeferenzen, const std::string& heim) {
    Fangordner f;
    auto haupt = ort(praeferenzen, "location", heim);
    if (!haupt) haupt = ort(praeferenzen, "location-screenshot", heim);
    f.ordner = haupt ? *haupt : standardisiere(heim + "/Desktop");
    for (const auto& kandidat : {std::optional<std::string>(f.ordner), ort(praeferenzen, "location-screenshot", heim),
                                 ort(praeferenzen, "location-screenrecording", heim)}) {
        if (!kandidat) continue;
        bool schonDa = false;
        for (const auto& o : f.alleOrdner) schonDa = schonDa || standardisiere(o) == standardisiere(*kandidat);
        if (!schonDa) f.alleOrdner.push_back(*kandidat);
    }
    return f;
}

}  // namespace klebwerk
