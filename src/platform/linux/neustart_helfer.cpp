#include "platform/linux/neustart_helfer.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <thread>

#include <unistd.h>

#include "platform/linux/dbus_einzelinstanz.h"

namespace klebwerk::linuxdesk {

namespace {
// A process that has not ended after this long will not end for the relaunch: the
// helper gives up rather than start a second instance beside it.
constexpr auto hoechstensWarten = std::chrono::seconds(60);
constexpr auto pruefTakt = std::chrono::milliseconds(20);
constexpr double hoechsteVerzoegerung = 60;
// The bus frees the ended instance's name a moment after its end; a start before that
// would hand over to the instance that is going away.
constexpr double namensFrist = 5;

bool laeuft(pid_t pid) { return kill(pid, 0) == 0 || errno == EPERM; }
}  // namespace

std::vector<std::string> neustartAufruf(pid_t warteAuf, double sekunden, const std::string& programm,
                                        const std::vector<std::string>& argumente) {
    std::vector<std::string> a{neustartSchalter, std::to_string(warteAuf), std::to_string(sekunden), programm};
    a.insert(a.end(), argumente.begin(), argumente.end());
    return a;
}

int fuehreNeustartAus(int argc, char** argv) {
    if (argc < 2 || std::string_view(argv[1]) != neustartSchalter) return -1;
    if (argc < 5) return 2;
    char* ende = nullptr;
    const long pid = std::strtol(argv[2], &ende, 10);
    if (*ende != '\0' || pid <= 1) return 2;
    const double sekunden = std::strtod(argv[3], &ende);
    if (*ende != '\0' || !(sekunden >= 0 && sekunden <= hoechsteVerzoegerung)) return 2;

    const auto bis = std::chrono::steady_clock::now() + hoechstensWarten;
    while (laeuft(static_cast<pid_t>(pid))) {
        if (std::chrono::steady_clock::now() > bis) return 3;
        std::this_thread::sleep_for(pruefTakt);
    }
    // Still held after the bound: another instance runs, and the new start calls it.
    warteBisInstanzFrei(namensFrist);
    std::this_thread::sleep_for(std::chrono::duration<double>(sekunden));
    execv(argv[4], argv + 4);
    return 4;
}

}  // namespace klebwerk::linuxdesk
