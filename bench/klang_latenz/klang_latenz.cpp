// From `spiele` to the sound at the output: a PulseAudio server of its own with a null
// sink, parec on the sink's monitor through a pipe, and the backend's sound player. Each
// round plays the click and takes the time until the first sample that is not silence
// comes out of parec; parec's own buffering (5 ms asked for) is part of the figure, so
// it is an upper bound of what the player adds.
//   build/bench/klebwerk_klang_latenz [rounds]

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "desktop/tonserver.h"
#include "feedback/klang_synthese.h"
#include "feedback/wav.h"
#include "platform/linux/pulse_klangspieler.h"

using Uhr = std::chrono::steady_clock;

namespace {

// parec with its samples coming through a pipe, read on a thread of its own.
class Lauscher {
public:
    explicit Lauscher(const std::string& adresse) {
        int rohr[2];
        if (pipe(rohr) != 0) return;
        posix_spawn_file_actions_t aktionen;
        posix_spawn_file_actions_init(&aktionen);
        posix_spawn_file_actions_adddup2(&aktionen, rohr[1], 1);
        posix_spawn_file_actions_addclose(&aktionen, rohr[0]);
        std::vector<std::string> befehl = {"parec", "--server=" + adresse, "-d", "stumm.monitor", "--raw",
                                           "--format=s16le", "--channels=1", "--rate=44100", "--latency-msec=5"};
        std::vector<char*> argv;
        for (auto& a : befehl) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawnp(&pid_, argv[0], &aktionen, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&aktionen);
        close(rohr[1]);
        fd_ = rohr[0];
        leser_ = std::thread([this] { lies(); });
    }
    ~Lauscher() {
        if (pid_ > 0) kill(pid_, SIGTERM);
        if (leser_.joinable()) leser_.join();
        if (pid_ > 0) waitpid(pid_, nullptr, 0);
        if (fd_ >= 0) close(fd_);
    }

    bool hoert() const { return bytes_.load() > 0; }
    // From now on, the arrival of the next sample that is not silence counts.
    void scharf() {
        std::lock_guard<std::mutex> s(sperre_);
        angekommen_.reset();
        scharf_ = true;
    }
    std::optional<Uhr::time_point> angekommen() {
        std::lock_guard<std::mutex> s(sperre_);
        return angekommen_;
    }
    // Time of the last sample that was not silence.
    Uhr::time_point zuletztLaut() {
        std::lock_guard<std::mutex> s(sperre_);
        return zuletztLaut_;
    }

private:
    void lies() {
        std::vector<char> puffer(4096);
        while (true) {
            ssize_t n = read(fd_, puffer.data(), puffer.size());
            if (n <= 0) return;
            const auto jetzt = Uhr::now();
            bytes_ += n;
            bool laut = false;
            for (ssize_t i = 0; i + 1 < n; i += 2) laut = laut || puffer[i] != 0 || puffer[i + 1] != 0;
            if (!laut) continue;
            std::lock_guard<std::mutex> s(sperre_);
            zuletztLaut_ = jetzt;
            if (scharf_) {
                angekommen_ = jetzt;
                scharf_ = false;
            }
        }
    }

    pid_t pid_ = -1;
    int fd_ = -1;
    std::thread leser_;
    std::atomic<long> bytes_{0};
    std::mutex sperre_;
    bool scharf_ = false;
    std::optional<Uhr::time_point> angekommen_;
    Uhr::time_point zuletztLaut_{};
};

double ms(Uhr::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

}  // namespace

int main(int argc, char** argv) {
    const int runden = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    klebwerk::test::Tonserver server;
    if (!server.bereit()) {
        std::fprintf(stderr, "pulseaudio did not start\n");
        return 1;
    }
    setenv("PULSE_SERVER", server.adresse().c_str(), 1);
    Lauscher lauscher(server.adresse());
    if (!klebwerk::test::warteBis([&] { return lauscher.hoert(); }, 20.0)) {
        std::fprintf(stderr, "parec recorded nothing\n");
        return 1;
    }
    const std::string klick =
        klebwerk::wav(klebwerk::synthetisiere(klebwerk::segmenteVon(klebwerk::KlangArt::klick), klebwerk::systemZufall()));
    klebwerk::linuxdesk::PulseKlangspieler spieler;

    std::vector<double> zeiten, aufrufe;
    for (int i = 0; i <= runden; ++i) {
        // Quiet for 100 ms before each round, so that nothing of the last one is counted.
        klebwerk::test::warteBis([&] { return Uhr::now() - lauscher.zuletztLaut() > std::chrono::milliseconds(100); });
        lauscher.scharf();
        const auto anfang = Uhr::now();
        spieler.spiele(klick);
        const auto aufrufEnde = Uhr::now();
        if (!klebwerk::test::warteBis([&] { return lauscher.angekommen().has_value(); }, 10.0)) {
            std::fprintf(stderr, "round %d: nothing arrived\n", i);
            return 1;
        }
        const double d = ms(*lauscher.angekommen() - anfang);
        // Round 0 connects to the server first: reported on its own.
        if (i == 0) std::printf("first sound (with connecting): %.2f ms, spiele returned after %.3f ms\n", d,
                                ms(aufrufEnde - anfang));
        else {
            zeiten.push_back(d);
            aufrufe.push_back(ms(aufrufEnde - anfang));
        }
    }
    std::sort(zeiten.begin(), zeiten.end());
    std::sort(aufrufe.begin(), aufrufe.end());
    auto stelle = [&](double q) { return zeiten[static_cast<size_t>(q * (zeiten.size() - 1))]; };
    std::printf("spiele → first sample at the null sink's monitor, %zu rounds: min %.2f ms, median %.2f ms, "
                "90%% %.2f ms, max %.2f ms\n",
                zeiten.size(), zeiten.front(), stelle(0.5), stelle(0.9), zeiten.back());
    std::printf("spiele itself (the caller's thread): median %.3f ms, max %.3f ms\n", aufrufe[aufrufe.size() / 2],
                aufrufe.back());
    return 0;
}
