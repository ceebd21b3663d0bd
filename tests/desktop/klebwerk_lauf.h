#pragma once

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTemporaryDir>

extern char** environ;

namespace klebwerk::test {

// Polls a condition until it holds or the bound runs out.
inline bool warteBis(const std::function<bool()>& bedingung, std::chrono::milliseconds frist = std::chrono::seconds(15)) {
    auto ende = std::chrono::steady_clock::now() + frist;
    while (true) {
        if (bedingung()) return true;
        if (std::chrono::steady_clock::now() >= ende) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

inline std::string liesDatei(const std::string& pfad) {
    std::ifstream in(pfad, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs a program and waits for it; its exit status, or -1.
inline int fuehreAus(const std::vector<std::string>& befehl) {
    std::vector<char*> argv;
    for (const auto& a : befehl) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// build/klebwerk in the current desktop session with a fresh home folder.
class KlebwerkLauf {
public:
    KlebwerkLauf() = default;
    ~KlebwerkLauf() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }

    std::string heim() const { return heim_.path().toStdString(); }
    std::string datenOrdner() const { return heim() + "/.local/share/Klebwerk"; }
    std::string daten(const std::string& name) const { return datenOrdner() + "/" + name; }
    std::string protokoll() const { return liesDatei(daten("log.txt")); }
    std::string einstellungsDatei() const { return heim() + "/.config/de.quenmoral.klebwerk/einstellungen.json"; }

    void schreibeEinstellungen(const std::string& json) {
        std::filesystem::create_directories(std::filesystem::path(einstellungsDatei()).parent_path());
        std::ofstream(einstellungsDatei()) << json;
    }

    bool starte() {
        std::vector<std::string> umgebung;
        for (char** e = environ; *e; ++e) {
            std::string v = *e;
            if (v.rfind("HOME=", 0) == 0 || v.rfind("XDG_CONFIG_HOME=", 0) == 0 || v.rfind("XDG_DATA_HOME=", 0) == 0 ||
                v.rfind("XDG_CACHE_HOME=", 0) == 0)
                continue;
            umgebung.push_back(v);
        }
        umgebung.push_back("HOME=" + heim());
        std::vector<char*> env;
        for (auto& v : umgebung) env.push_back(v.data());
        env.push_back(nullptr);
        std::string programm = KLEBWERK_PROGRAMM;
        char* argv[] = {programm.data(), nullptr};
        return posix_spawn(&pid_, programm.c_str(), nullptr, nullptr, argv, env.data()) == 0;
    }

    bool protokollEnthaelt(const std::string& text) const { return protokoll().find(text) != std::string::npos; }

    // Sends SIGTERM and waits for the exit; the exit status, or absent when it did not end.
    std::optional<int> beende(std::chrono::milliseconds frist = std::chrono::seconds(10)) {
        kill(pid_, SIGTERM);
        return warteAufEnde(frist);
    }

    std::optional<int> warteAufEnde(std::chrono::milliseconds frist) {
        int status = 0;
        std::optional<int> ergebnis;
        warteBis(
            [&] {
                pid_t r = waitpid(pid_, &status, WNOHANG);
                if (r == pid_) {
                    ergebnis = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
                    pid_ = -1;
                    return true;
                }
                return false;
            },
            frist);
        return ergebnis;
    }

    pid_t pid() const { return pid_; }

private:
    QTemporaryDir heim_;
    pid_t pid_ = -1;
};

inline int sendeBefehl(const std::string& text) {
    return fuehreAus({"dbus-send", "--session", "--type=signal", "/de/quenmoral/klebwerk", "de.quenmoral.klebwerk.befehl",
                      "string:" + text});
}

}  // namespace klebwerk::test
