#include "platform/wayland/sway_ipc.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace klebwerk::wayland {

namespace {

constexpr char magie[] = {'i', '3', '-', 'i', 'p', 'c'};
constexpr std::size_t kopfLaenge = sizeof magie + 8;

using Uhr = std::chrono::steady_clock;

// Milliseconds left until `ende`, at least 0.
int restMs(Uhr::time_point ende) {
    auto rest = std::chrono::duration_cast<std::chrono::milliseconds>(ende - Uhr::now()).count();
    return rest > 0 ? static_cast<int>(rest) : 0;
}

struct Sockel {
    int fd = -1;
    ~Sockel() {
        if (fd >= 0) close(fd);
    }
};

bool sendeAlles(int fd, const std::string& daten, Uhr::time_point ende, std::string& fehler) {
    std::size_t gesendet = 0;
    while (gesendet < daten.size()) {
        pollfd p{fd, POLLOUT, 0};
        int r = poll(&p, 1, restMs(ende));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) {
            fehler = r == 0 ? "sway did not take the request in time" : std::strerror(errno);
            return false;
        }
        ssize_t n = send(fd, daten.data() + gesendet, daten.size() - gesendet, MSG_NOSIGNAL);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n < 0) {
            fehler = std::string("sending to sway failed: ") + std::strerror(errno);
            return false;
        }
        gesendet += static_cast<std::size_t>(n);
    }
    return true;
}

bool liesGenau(int fd, char* ziel, std::size_t laenge, Uhr::time_point ende, std::string& fehler) {
    std::size_t gelesen = 0;
    while (gelesen < laenge) {
        pollfd p{fd, POLLIN, 0};
        int r = poll(&p, 1, restMs(ende));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) {
            fehler = r == 0 ? "sway did not answer in time" : std::strerror(errno);
            return false;
        }
        ssize_t n = recv(fd, ziel + gelesen, laenge - gelesen, 0);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n <= 0) {
            fehler = n == 0 ? "sway closed the connection" : std::string("reading from sway failed: ") + std::strerror(errno);
            return false;
        }
        gelesen += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

std::string ipcRahmen(IpcArt art, const std::string& nutzlast) {
    std::string rahmen(magie, sizeof magie);
    auto laenge = static_cast<std::uint32_t>(nutzlast.size());
    auto typ = static_cast<std::uint32_t>(art);
    rahmen.append(reinterpret_cast<const char*>(&laenge), 4);
    rahmen.append(reinterpret_cast<const char*>(&typ), 4);
    rahmen += nutzlast;
    return rahmen;
}

std::optional<SwayIpc> SwayIpc::ausUmgebung() {
    const char* pfad = std::getenv("SWAYSOCK");
    if (!pfad || !*pfad) return std::nullopt;
    return SwayIpc(pfad);
}

IpcAntwort SwayIpc::anfrage(IpcArt art, const std::string& nutzlast, double frist) const {
    IpcAntwort antwort;
    const auto ende = Uhr::now() + std::chrono::duration_cast<Uhr::duration>(std::chrono::duration<double>(frist));
    sockaddr_un adresse{};
    adresse.sun_family = AF_UNIX;
    if (pfad_.empty() || pfad_.size() >= sizeof adresse.sun_path) {
        antwort.fehler = "no usable sway socket path";
        return antwort;
    }
    std::memcpy(adresse.sun_path, pfad_.c_str(), pfad_.size() + 1);
    Sockel s;
    s.fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (s.fd < 0) {
        antwort.fehler = std::string("no socket: ") + std::strerror(errno);
        return antwort;
    }
    // A local socket connects at once or not at all; a full backlog counts as no answer.
    if (connect(s.fd, reinterpret_cast<sockaddr*>(&adresse), sizeof adresse) != 0) {
        antwort.fehler = "cannot reach sway at " + pfad_ + ": " + std::strerror(errno);
        return antwort;
    }
    if (!sendeAlles(s.fd, ipcRahmen(art, nutzlast), ende, antwort.fehler)) return antwort;

    char kopf[kopfLaenge];
    if (!liesGenau(s.fd, kopf, sizeof kopf, ende, antwort.fehler)) return antwort;
    if (std::memcmp(kopf, magie, sizeof magie) != 0) {
        antwort.fehler = "sway answered without the IPC magic";
        return antwort;
    }
    std::uint32_t laenge = 0, typ = 0;
    std::memcpy(&laenge, kopf + sizeof magie, 4);
    std::memcpy(&typ, kopf + sizeof magie + 4, 4);
    if (typ != static_cast<std::uint32_t>(art)) {
        antwort.fehler = "sway answered another request (type " + std::to_string(typ) + ")";
        return antwort;
    }
    std::string daten(laenge, '\0');
    if (!liesGenau(s.fd, daten.data(), laenge, ende, antwort.fehler)) return antwort;
    antwort.daten = std::move(daten);
    return antwort;
}

}  // namespace klebwerk::wayland
