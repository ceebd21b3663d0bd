#pragma once

#include <string>
#include <vector>

#include "platform/anmeldeobjekt.h"

namespace klebwerk::linuxdesk {

// The login item as an XDG autostart entry: "klebwerk.desktop" in the autostart
// folder of the config home.
// Where `cmake --install` and the Debian package put the program, most likely first.
std::vector<std::string> installierteProgramme();

class XdgAnmeldeobjekt : public Anmeldeobjekt {
public:
    // `programm` is the running program; `installierte` the places where an installed
    // Klebwerk would lie.
    explicit XdgAnmeldeobjekt(std::string programm, std::vector<std::string> installierte = {})
        : programm_(std::move(programm)), installierte_(std::move(installierte)) {}
    int status() override;
    bool anmelden() override;
    bool abmelden() override;

    static std::string eintragPfad();
    // The Exec value for a program path: quoted and escaped as desktop entries want it.
    static std::string execWert(const std::string& programm);
    // The program the entry starts. A build (a program beside its build tree's
    // CMakeCache.txt) is rebuilt, moved and removed: while an installed Klebwerk exists,
    // the entry starts that one. An installed program, or a build with none installed,
    // starts itself.
    static std::string startProgramm(const std::string& laufendes, const std::vector<std::string>& installierte);

private:
    std::string programm_;
    std::vector<std::string> installierte_;
};

}  // namespace klebwerk::linuxdesk
