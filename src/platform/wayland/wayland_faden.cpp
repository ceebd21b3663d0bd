#include "platform/wayland/wayland_faden.h"

#include <algorithm>
#include <cerrno>
#include <chrono>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <wayland-client.h>

#include "basis/protokoll.h"
#include "platform/wayland/wayland_verbindung.h"

namespace klebwerk::wayland {

double sekundenJetzt() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

WaylandFaden::WaylandFaden(std::string name, std::string bereich)
    : anzeigeName(std::move(name)), bereich_(std::move(bereich)), wecker_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

WaylandFaden::~WaylandFaden() {
    if (wecker_ >= 0) close(wecker_);
}

void WaylandFaden::starte() {
    thread_ = std::thread([this] { laufe(); });
}

bool WaylandFaden::warteAufEinrichtung(double frist) {
    std::unique_lock lock(sperre);
    return eingerichtet_.wait_for(lock, std::chrono::duration<double>(frist), [this] { return fertigEingerichtet_; });
}

void WaylandFaden::halte() {
    if (!thread_.joinable()) return;
    {
        std::lock_guard lock(sperre);
        ende_ = true;
    }
    std::uint64_t eins = 1;
    [[maybe_unused]] auto n = write(wecker_, &eins, sizeof eins);
    thread_.join();
}

void WaylandFaden::aufFaden(std::function<void()> arbeit) {
    {
        std::lock_guard lock(sperre);
        auftraege_.push_back(std::move(arbeit));
    }
    std::uint64_t eins = 1;
    [[maybe_unused]] auto n = write(wecker_, &eins, sizeof eins);
}

std::string WaylandFaden::stoerung() const {
    std::lock_guard lock(sperre);
    return stoerung_;
}

bool WaylandFaden::oeffne(const wl_registry_listener& hoerer, void* daten, int runden) {
    if (auto fehler = oeffneVerbindung(anzeigeName, hoerer, daten, runden, anzeige, register_)) {
        scheitere(*fehler);
        return false;
    }
    return true;
}

void WaylandFaden::trenneAnzeige() { trenneVerbindung(anzeige, register_); }

void WaylandFaden::scheitere(const std::string& grund) {
    {
        std::lock_guard lock(sperre);
        if (stoerung_.empty()) stoerung_ = grund;
    }
    if (!tot) protokoll(bereich_ + ": " + grund);
    tot = true;
    beiStoerung(grund);
}

void WaylandFaden::laufe() {
    const bool verbunden = verbinde();
    {
        std::lock_guard lock(sperre);
        fertigEingerichtet_ = true;
    }
    eingerichtet_.notify_all();
    if (!verbunden) trenne();
    while (true) {
        std::deque<std::function<void()>> jetzt;
        {
            std::lock_guard lock(sperre);
            if (ende_) break;
            jetzt.swap(auftraege_);
        }
        for (auto& a : jetzt) a();

        std::vector<pollfd> pfds{{wecker_, POLLIN, 0}};
        const bool anzeigeLesen = !tot;
        if (anzeigeLesen) {
            while (wl_display_prepare_read(anzeige) != 0) wl_display_dispatch_pending(anzeige);
            short warten = POLLIN;
            if (wl_display_flush(anzeige) < 0) {
                if (errno == EAGAIN) {
                    warten |= POLLOUT;
                } else {
                    wl_display_cancel_read(anzeige);
                    scheitere("the Wayland connection failed");
                    continue;
                }
            }
            pfds.push_back({wl_display_get_fd(anzeige), warten, 0});
        }
        const double frist = fuegeWartendeHinzu(pfds);
        int warteMs = -1;
        if (frist != keineFrist) warteMs = std::max(0, static_cast<int>((frist - sekundenJetzt()) * 1000) + 1);
        poll(pfds.data(), pfds.size(), warteMs);

        if (pfds[0].revents & POLLIN) {
            std::uint64_t wert;
            [[maybe_unused]] auto gelesen = read(wecker_, &wert, sizeof wert);
        }
        if (anzeigeLesen) {
            if (pfds[1].revents & (POLLIN | POLLERR | POLLHUP)) {
                if (wl_display_read_events(anzeige) < 0) {
                    scheitere("the Wayland connection failed");
                    continue;
                }
            } else {
                wl_display_cancel_read(anzeige);
            }
            if (wl_display_dispatch_pending(anzeige) < 0) {
                scheitere("the compositor closed the connection");
                continue;
            }
        }
        nachWarten(pfds);
    }
    schliesse();
}

}  // namespace klebwerk::wayland
