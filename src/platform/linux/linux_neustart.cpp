#include "platform/linux/linux_neustart.h"

#include <climits>

#include <unistd.h>

#include "platform/linux/neustart_helfer.h"
#include "platform/linux/prozessstart.h"

namespace klebwerk::linuxdesk {

std::string LinuxNeustart::eigenesProgramm() {
    char pfad[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", pfad, sizeof pfad - 1);
    if (n <= 0) return {};
    std::string programm(pfad, static_cast<size_t>(n));
    // A program file replaced while it runs (a package update) reads as "… (deleted)";
    // its path then names the new program.
    const std::string ersetzt = " (deleted)";
    if (programm.size() > ersetzt.size() && programm.ends_with(ersetzt)) programm.resize(programm.size() - ersetzt.size());
    return programm;
}

bool LinuxNeustart::starte(const std::string& programm, const std::vector<std::string>& argumente) {
    return starteLoesgeloest(programm, argumente);
}

bool LinuxNeustart::starteNachEnde(const std::string& programm, const std::vector<std::string>& argumente,
                                   double verzoegerung) {
    const std::string selbst = eigenesProgramm();
    if (selbst.empty()) return false;
    return starteLoesgeloest(selbst, neustartAufruf(getpid(), verzoegerung, programm, argumente));
}

}  // namespace klebwerk::linuxdesk
