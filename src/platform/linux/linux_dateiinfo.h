#pragma once

#include <memory>

#include "platform/dateiinfo.h"

namespace klebwerk::linuxdesk {

// File information from the kernel: directory reads (getdents64), statx (birth time where the file system
// records one), and user extended attributes ("user." + the name).
class LinuxDateiinfo : public Dateiinfo {
public:
    bool liste(const std::string& ordner, std::vector<DateiEintrag>& eintraege, std::string& fehler) override;
    std::optional<DateiStand> stand(const std::string& pfad) override;
    std::optional<std::string> attribut(const std::string& pfad, const std::string& name) override;

private:
    // The buffer of the directory reads, made at the first listing and kept.
    static constexpr size_t pufferGroesse = 256 * 1024;
    std::unique_ptr<char[]> puffer_;
};

}  // namespace klebwerk::linuxdesk
