// "klebwerk --chromium-zugang" and "--chromium-zugang-aus" run as the built program:
// without a display, since they change files and end before any window or connection.

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "desktop/warten.h"

extern char** environ;

namespace klebwerk {
namespace {

namespace fs = std::filesystem;

std::string lies(const fs::path& p) {
    std::ifstream d(p);
    std::stringstream s;
    s << d.rdbuf();
    return s.str();
}

struct Lauf {
    int status = -1;  // the exit status, -1 when it did not end by itself in time
    std::string ausgabe;
    std::string fehler;
};

class ChromiumZugangProgramm : public ::testing::Test {
protected:
    void SetUp() override {
        char muster[] = "/tmp/klebwerk-zugang-programm-XXXXXX";
        ASSERT_TRUE(mkdtemp(muster));
        wurzel = muster;
        fs::create_directories(wurzel / "system" / "applications");
    }
    void TearDown() override { fs::remove_all(wurzel); }

    // The program with the option, in an environment of the test's folders only: no
    // display, no session bus, German as the chosen language.
    Lauf starte(const std::string& option) {
        fs::create_directories(wurzel / "config" / "de.quenmoral.klebwerk");
        std::ofstream(wurzel / "config" / "de.quenmoral.klebwerk" / "einstellungen.json") << R"({"sprache": "de"})";
        std::vector<std::string> umgebung = {
            "HOME=" + (wurzel / "heim").string(),
            "XDG_DATA_HOME=" + (wurzel / "daten").string(),
            "XDG_CONFIG_HOME=" + (wurzel / "config").string(),
            "XDG_CACHE_HOME=" + (wurzel / "cache").string(),
            "XDG_DATA_DIRS=" + (wurzel / "system").string(),
            "PATH=/usr/bin:/bin",
        };
        std::vector<char*> env, argv;
        for (auto& v : umgebung) env.push_back(v.data());
        env.push_back(nullptr);
        std::string programm = KLEBWERK_PROGRAMM;
        std::string opt = option;
        argv = {programm.data(), opt.data(), nullptr};
        fs::path aus = wurzel / "aus.txt", fehl = wurzel / "fehler.txt";
        posix_spawn_file_actions_t aktionen;
        posix_spawn_file_actions_init(&aktionen);
        posix_spawn_file_actions_addopen(&aktionen, 1, aus.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&aktionen, 2, fehl.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        pid_t pid;
        int gestartet = posix_spawn(&pid, argv[0], &aktionen, nullptr, argv.data(), env.data());
        posix_spawn_file_actions_destroy(&aktionen);
        Lauf lauf;
        if (gestartet != 0) return lauf;
        int status = 0;
        bool geendet = test::warteBis([&] { return waitpid(pid, &status, WNOHANG) == pid; }, 20.0);
        if (!geendet) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        } else if (WIFEXITED(status)) {
            lauf.status = WEXITSTATUS(status);
        }
        lauf.ausgabe = lies(aus);
        lauf.fehler = lies(fehl);
        return lauf;
    }

    fs::path wurzel;
};

TEST_F(ChromiumZugangProgramm, SchreibtUndEntferntDenEintragOhneAnzeige) {
    std::ofstream(wurzel / "system" / "applications" / "chromium.desktop")
        << "[Desktop Entry]\nName=Chromium\nExec=/usr/bin/chromium %U\n";
    fs::path eintrag = wurzel / "daten" / "applications" / "chromium.desktop";

    Lauf ein = starte("--chromium-zugang");
    ASSERT_EQ(ein.status, 0) << ein.ausgabe << ein.fehler;
    std::string text = lies(eintrag);
    EXPECT_NE(text.find("\nExec=/usr/bin/chromium --force-renderer-accessibility %U\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nX-Klebwerk-Zugang=true\n"), std::string::npos) << text;
    EXPECT_NE(ein.ausgabe.find("eingerichtet, " + eintrag.string()), std::string::npos) << ein.ausgabe;
    EXPECT_EQ(ein.fehler, "");

    Lauf aus = starte("--chromium-zugang-aus");
    ASSERT_EQ(aus.status, 0) << aus.ausgabe << aus.fehler;
    EXPECT_FALSE(fs::exists(eintrag));
    EXPECT_NE(aus.ausgabe.find(eintrag.string() + " entfernt."), std::string::npos) << aus.ausgabe;
}

TEST_F(ChromiumZugangProgramm, OhneBrowserEintragEndetMitFehler) {
    Lauf ein = starte("--chromium-zugang");
    EXPECT_EQ(ein.status, 1) << ein.ausgabe << ein.fehler;
    EXPECT_NE(ein.fehler.find("Weder Chromium noch Google Chrome ist installiert"), std::string::npos) << ein.fehler;
    EXPECT_FALSE(fs::exists(wurzel / "daten" / "applications"));
}

}  // namespace
}  // namespace klebwerk
