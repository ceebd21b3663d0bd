#include "platform/linux/prozessstart.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace klebwerk::linuxdesk {

std::string findeProgramm(const std::string& name) {
    if (name.find('/') != std::string::npos) return access(name.c_str(), X_OK) == 0 ? name : std::string();
    const char* pfad = std::getenv("PATH");
    std::string liste = pfad ? pfad : "/usr/local/bin:/usr/bin:/bin";
    size_t anfang = 0;
    while (anfang <= liste.size()) {
        size_t ende = liste.find(':', anfang);
        if (ende == std::string::npos) ende = liste.size();
        std::string kandidat = liste.substr(anfang, ende - anfang) + "/" + name;
        struct stat st{};
        if (ende > anfang && stat(kandidat.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(kandidat.c_str(), X_OK) == 0)
            return kandidat;
        anfang = ende + 1;
    }
    return {};
}

bool starteLoesgeloest(const std::string& programm, const std::vector<std::string>& argumente) {
    std::string pfad = findeProgramm(programm);
    if (pfad.empty()) return false;
    // Everything the child needs is prepared before fork: after it only
    // async-signal-safe calls are made.
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(pfad.c_str()));
    for (const auto& a : argumente) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    int rohr[2];
    if (pipe2(rohr, O_CLOEXEC) != 0) return false;

    pid_t kind = fork();
    if (kind < 0) {
        close(rohr[0]);
        close(rohr[1]);
        return false;
    }
    if (kind == 0) {
        sigset_t leer;
        sigemptyset(&leer);
        sigprocmask(SIG_SETMASK, &leer, nullptr);
        setsid();
        pid_t enkel = fork();
        if (enkel < 0) _exit(127);
        if (enkel > 0) _exit(0);
        signal(SIGPIPE, SIG_DFL);
        execv(pfad.c_str(), argv.data());
        int fehler = errno;
        (void)!write(rohr[1], &fehler, sizeof fehler);
        _exit(127);
    }
    close(rohr[1]);
    int status = 0;
    while (waitpid(kind, &status, 0) < 0 && errno == EINTR) {
    }
    // The pipe closes on a successful exec; an errno arrives when exec failed.
    int fehler = 0;
    ssize_t n;
    do {
        n = read(rohr[0], &fehler, sizeof fehler);
    } while (n < 0 && errno == EINTR);
    close(rohr[0]);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 && n == 0;
}

}  // namespace klebwerk::linuxdesk
