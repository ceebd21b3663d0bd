#pragma once

// A PulseAudio server of the test's own, with a null sink, and a recorder of what
// reaches that sink.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <QTemporaryDir>

#include "desktop/klebwerk_lauf.h"
#include "desktop/warten.h"

namespace klebwerk::test {

// pulseaudio on a socket in a temporary folder: no configuration read (-n), a mono
// 44100 Hz null sink "stumm" (so that a mono 44100 Hz sound passes without being
// converted), anonymous clients allowed. `mitAusgabe` false: no sink at all.
class Tonserver {
public:
    explicit Tonserver(bool mitAusgabe = true) {
        std::vector<std::string> befehl = {"pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1",
                                           "--disallow-exit", "--use-pid-file=no", "--log-target=stderr"};
        if (mitAusgabe) befehl.insert(befehl.end(), {"-L", "module-null-sink sink_name=stumm rate=44100 channels=1"});
        befehl.insert(befehl.end(), {"-L", "module-native-protocol-unix socket=" + socket() + " auth-anonymous=1"});
        // Its own home and runtime folder: nothing of another server's is found or touched.
        server_ = std::make_unique<Kindprozess>(
            befehl, std::vector<std::string>{"HOME=" + ordner(), "PULSE_RUNTIME_PATH=" + ordner() + "/laufzeit",
                                             "XDG_RUNTIME_DIR=" + ordner() + "/laufzeit", "XDG_CONFIG_HOME=" + ordner()});
        bereit_ = warteBis([&] { return fuehreStill({"pactl", "--server=" + adresse(), "info"}) == 0; }, 20.0);
    }

    bool bereit() const { return bereit_; }
    std::string ordner() const { return ordner_.path().toStdString(); }
    std::string socket() const { return ordner() + "/socket"; }
    std::string adresse() const { return "unix:" + socket(); }
    pid_t pid() const { return server_->pid(); }

    // Runs a program with its output thrown away; its exit status, or -1.
    static int fuehreStill(const std::vector<std::string>& befehl) {
        Kindprozess p(befehl);
        if (p.pid() <= 0) return -1;
        int status = 0;
        waitpid(p.pid(), &status, 0);
        p.warte();
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    QTemporaryDir ordner_;
    std::unique_ptr<Kindprozess> server_;
    bool bereit_ = false;
};

// parec on the null sink's monitor: mono 16-bit samples at 44100 Hz into a file.
class Mitschnitt {
public:
    explicit Mitschnitt(const Tonserver& server)
        : parec_({"parec", "--server=" + server.adresse(), "-d", "stumm.monitor", "--raw", "--format=s16le",
                  "--channels=1", "--rate=44100", "--latency-msec=5"}) {
        // The monitor delivers silence while nothing plays: bytes mean it records.
        laeuft_ = warteBis([&] { return !parec_.ausgabe().empty(); }, 20.0);
    }

    bool laeuft() const { return laeuft_; }

    std::vector<std::int16_t> proben() const {
        const std::string b = parec_.ausgabe();
        std::vector<std::int16_t> p(b.size() / 2);
        for (size_t i = 0; i < p.size(); ++i)
            p[i] = static_cast<std::int16_t>(static_cast<unsigned char>(b[2 * i]) |
                                             (static_cast<unsigned char>(b[2 * i + 1]) << 8));
        return p;
    }
    std::string bytes() const { return parec_.ausgabe(); }

private:
    Kindprozess parec_;
    bool laeuft_ = false;
};

}  // namespace klebwerk::test
