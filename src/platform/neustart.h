#pragma once

#include <string>
#include <vector>

namespace klebwerk {

// Starts a program detached from this process, given as an executable and its
// arguments (never as a command text).
class Neustart {
public:
    virtual ~Neustart() = default;
    // This process's own executable.
    virtual std::string eigenesProgramm() = 0;
    virtual bool starte(const std::string& programm, const std::vector<std::string>& argumente) = 0;
    // Starts the program `verzoegerung` seconds after this process has ended (a relaunch);
    // false when that cannot be arranged.
    virtual bool starteNachEnde(const std::string& programm, const std::vector<std::string>& argumente,
                                double verzoegerung) = 0;
};

}  // namespace klebwerk
