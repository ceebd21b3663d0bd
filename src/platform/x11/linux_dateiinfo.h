#pragma once

#include "platform/dateiinfo.h"

namespace klebwerk::x11 {

// File information from the kernel: readdir, statx (birth time where the file system
// records one), and user extended attributes ("user." + the name).
class LinuxDateiinfo : public Dateiinfo {
public:
    bool liste(const std::string& ordner, std::vector<DateiEintrag>& eintraege, std::string& fehler) override;
    std::optional<DateiStand> stand(const std::string& pfad) override;
    std::optional<std::string> attribut(const std::string& pfad, const std::string& name) override;
};

}  // namespace klebwerk::x11
