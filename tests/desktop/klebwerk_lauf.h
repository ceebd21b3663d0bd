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

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTemporaryDir>

#include "desktop/warten.h"

extern char** environ;

namespace klebwerk::test {

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

// A program of the tests' own, its standard output going into a file.
class Kindprozess {
public:
    Kindprozess(const std::vector<std::string>& befehl, const std::vector<std::string>& zusatzUmgebung = {}) {
        ausgabe_ = std::filesystem::temp_directory_path() / ("klebwerk-kind-" + std::to_string(getpid()) + "-" +
                                                           std::to_string(++zaehler()) + ".out");
        std::vector<std::string> umgebung(zusatzUmgebung);
        for (char** e = environ; *e; ++e) umgebung.push_back(*e);
        std::vector<char*> env, argv;
        for (auto& v : umgebung) env.push_back(v.data());
        env.push_back(nullptr);
        for (const auto& a : befehl) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        posix_spawn_file_actions_t aktionen;
        posix_spawn_file_actions_init(&aktionen);
        posix_spawn_file_actions_addopen(&aktionen, 1, ausgabe_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        // Not the test's own error channel: a helper that forks into the background
        // would keep the test runner's pipe open.
        posix_spawn_file_actions_addopen(&aktionen, 2, "/dev/null", O_WRONLY, 0);
        if (posix_spawnp(&pid_, argv[0], &aktionen, nullptr, argv.data(), env.data()) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&aktionen);
    }
    ~Kindprozess() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
        std::error_code f;
        std::filesystem::remove(ausgabe_, f);
    }
    std::string ausgabe() const { return liesDatei(ausgabe_); }
    pid_t pid() const { return pid_; }
    // Waits for the program to end by itself.
    void warte() {
        if (pid_ > 0) waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    static int& zaehler() {
        static int n = 0;
        return n;
    }
    std::filesystem::path ausgabe_;
    pid_t pid_ = -1;
};

// Runs a program and gives its standard output, trimmed of the final line feed.
inline std::string ausgabeVon(const std::vector<std::string>& befehl) {
    Kindprozess p(befehl);
    p.warte();
    std::string text = p.ausgabe();
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
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

    // `programm`: another copy of the program (by default the build's).
    bool starte(std::string programm = KLEBWERK_PROGRAMM) {
        std::vector<std::string> umgebung;
        for (char** e = environ; *e; ++e) {
            std::string v = *e;
            bool weg = false;
            for (const char* name : {"HOME=", "XDG_CONFIG_HOME=", "XDG_DATA_HOME=", "XDG_CACHE_HOME=", "XDG_CURRENT_DESKTOP="})
                weg = weg || v.rfind(name, 0) == 0;
            if (weg) continue;
            umgebung.push_back(v);
        }
        umgebung.push_back("HOME=" + heim());
        std::vector<char*> env;
        for (auto& v : umgebung) env.push_back(v.data());
        env.push_back(nullptr);
        char* argv[] = {programm.data(), nullptr};
        return posix_spawn(&pid_, programm.c_str(), nullptr, nullptr, argv, env.data()) == 0;
    }

    bool protokollEnthaelt(const std::string& text) const { return protokoll().find(text) != std::string::npos; }

    // Sends SIGTERM and waits for the exit; the exit status, or absent when it did not end.
    std::optional<int> beende(double frist = 10.0) {
        kill(pid_, SIGTERM);
        return warteAufEnde(frist);
    }

    std::optional<int> warteAufEnde(double frist) {
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
