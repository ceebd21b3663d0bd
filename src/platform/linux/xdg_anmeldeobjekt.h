#pragma once

#include <string>

#include "platform/anmeldeobjekt.h"

namespace klebwerk::linuxdesk {

// The login item as an XDG autostart entry: "klebwerk.desktop" in the autostart
// folder of the config home.
class XdgAnmeldeobjekt : public Anmeldeobjekt {
public:
    explicit XdgAnmeldeobjekt(std::string programm) : programm_(std::move(programm)) {}
    int status() override;
    bool anmelden() override;
    bool abmelden() override;

    static std::string eintragPfad();
    // The Exec value for a program path: quoted and escaped as desktop entries want it.
    static std::string execWert(const std::string& programm);

private:
    std::string programm_;
};

}  // namespace klebwerk::linuxdesk
