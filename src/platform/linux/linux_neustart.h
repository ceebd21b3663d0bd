#pragma once

#include <string>
#include <vector>

#include "platform/neustart.h"

namespace klebwerk::linuxdesk {

class LinuxNeustart : public Neustart {
public:
    std::string eigenesProgramm() override;
    bool starte(const std::string& programm, const std::vector<std::string>& argumente) override;
    // Through this program's own relaunch helper (see neustart_helfer.h): no shell.
    bool starteNachEnde(const std::string& programm, const std::vector<std::string>& argumente,
                        double verzoegerung) override;
};

}  // namespace klebwerk::linuxdesk
