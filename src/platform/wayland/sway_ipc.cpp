#include "platform/wayland/sway_ipc.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

#include <poll.h>
#include <sys/eventfd.h>
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

// Connects to the socket; -1 with the reason in `fehler` when sway is not there.
int verbinde(const std::string& pfad, std::string& fehler) {
    sockaddr_un adresse{};
    adresse.sun_family = AF_UNIX;
    if (pfad.empty() || pfad.size() >= sizeof adresse.sun_path) {
        fehler = "no usable sway socket path";
        return -1;
    }
    std::memcpy(adresse.sun_path, pfad.c_str(), pfad.size() + 1);
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        fehler = std::string("no socket: ") + std::strerror(errno);
        return -1;
    }
    // A local socket connects at once or not at all; a full backlog counts as no answer.
    if (connect(fd, reinterpret_cast<sockaddr*>(&adresse), sizeof adresse) != 0) {
        fehler = "cannot reach sway at " + pfad + ": " + std::strerror(errno);
        close(fd);
        return -1;
    }
    return fd;
}

// Reads one message: its type and payload.
bool liesNachricht(int fd, Uhr::time_point ende, std::uint32_t& typ, std::string& daten, std::string& fehler) {
    char kopf[kopfLaenge];
    if (!liesGenau(fd, kopf, sizeof kopf, ende, fehler)) return false;
    if (std::memcmp(kopf, magie, sizeof magie) != 0) {
        fehler = "sway answered without the IPC magic";
        return false;
    }
    std::uint32_t laenge = 0;
    std::memcpy(&laenge, kopf + sizeof magie, 4);
    std::memcpy(&typ, kopf + sizeof magie + 4, 4);
    daten.assign(laenge, '\0');
    return liesGenau(fd, daten.data(), laenge, ende, fehler);
}

Uhr::time_point nach(double sekunden) {
    return Uhr::now() + std::chrono::duration_cast<Uhr::duration>(std::chrono::duration<double>(sekunden));
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
    const auto ende = nach(frist);
    Sockel s;
    s.fd = verbinde(pfad_, antwort.fehler);
    if (s.fd < 0) return antwort;
    if (!sendeAlles(s.fd, ipcRahmen(art, nutzlast), ende, antwort.fehler)) return antwort;
    std::uint32_t typ = 0;
    std::string daten;
    if (!liesNachricht(s.fd, ende, typ, daten, antwort.fehler)) return antwort;
    if (typ != static_cast<std::uint32_t>(art)) {
        antwort.fehler = "sway answered another request (type " + std::to_string(typ) + ")";
        return antwort;
    }
    antwort.daten = std::move(daten);
    return antwort;
}

SwayAbo::SwayAbo(const SwayIpc& ipc, const std::vector<std::string>& arten,
                 std::function<void(std::uint32_t, const std::string&)> ereignis,
                 std::function<void(const std::string&)> ende)
    : ereignis_(std::move(ereignis)), ende_(std::move(ende)), wecker_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    std::string liste = "[";
    for (const std::string& a : arten) liste += (liste.size() > 1 ? ",\"" : "\"") + a + "\"";
    liste += "]";
    thread_ = std::thread([this, pfad = ipc.pfad(), liste] { laufe(pfad, liste); });
}

SwayAbo::~SwayAbo() {
    std::uint64_t eins = 1;
    [[maybe_unused]] auto n = write(wecker_, &eins, sizeof eins);
    thread_.join();
    close(wecker_);
}

void SwayAbo::laufe(std::string pfad, std::string anfrage) {
    std::string fehler;
    Sockel s;
    s.fd = verbinde(pfad, fehler);
    std::uint32_t typ = 0;
    std::string daten;
    if (s.fd >= 0 && sendeAlles(s.fd, ipcRahmen(IpcArt::abo, anfrage), nach(2.0), fehler) &&
        liesNachricht(s.fd, nach(2.0), typ, daten, fehler)) {
        if (daten.find("\"success\": true") == std::string::npos && daten.find("\"success\":true") == std::string::npos)
            fehler = "sway refused the subscription: " + daten;
        else
            bestaetigt_ = true;
    }
    while (fehler.empty()) {
        pollfd p[2] = {{wecker_, POLLIN, 0}, {s.fd, POLLIN, 0}};
        if (poll(p, 2, -1) < 0) {
            if (errno == EINTR) continue;
            fehler = std::strerror(errno);
            break;
        }
        if (p[0].revents) return;  // dropped: no `ende`
        // Once an event has begun, its rest follows at once.
        if (!liesNachricht(s.fd, nach(5.0), typ, daten, fehler)) break;
        ereignis_(typ, daten);
    }
    ende_(fehler);
}

}  // namespace klebwerk::wayland
