#include "platform/linux/prozessinfo.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <fstream>

#include <sys/syscall.h>
#include <unistd.h>

namespace klebwerk::linuxdesk {

std::string ausfuehrbareDatei(int pid) {
    char pfad[PATH_MAX];
    std::string link = "/proc/" + std::to_string(pid) + "/exe";
    ssize_t n = readlink(link.c_str(), pfad, sizeof pfad - 1);
    if (n <= 0) return {};
    std::string p(pfad, static_cast<size_t>(n));
    const std::string geloescht = " (deleted)";
    if (p.size() > geloescht.size() && p.compare(p.size() - geloescht.size(), geloescht.size(), geloescht) == 0)
        p.resize(p.size() - geloescht.size());
    return p;
}

std::string befehlsname(int pid) {
    std::ifstream datei("/proc/" + std::to_string(pid) + "/comm");
    std::string name;
    std::getline(datei, name);
    return name;
}

bool laeuft(int pid) { return kill(pid, 0) == 0 || errno == EPERM; }

int oeffnePidfd(int pid) {
#ifdef SYS_pidfd_open
    return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
#else
    return -1;
#endif
}

}  // namespace klebwerk::linuxdesk
