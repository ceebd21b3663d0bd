// Klebwerk itself under the private desktop session: a capture written into the
// watched folder is logged once, a text file not at all.

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Zeit = std::chrono::steady_clock;

struct Heim {
    std::string pfad;
    Heim() {
        std::string muster = (fs::temp_directory_path() / "klebwerk-heim-XXXXXX").string();
        pfad = ::mkdtemp(muster.data());
    }
    ~Heim() {
        std::error_code f;
        fs::remove_all(pfad, f);
    }
};

// Klebwerk with its own home folder; ended by SIGTERM when the test is done.
class Klebwerk {
public:
    explicit Klebwerk(const std::string& heim) {
        std::vector<std::string> umgebung;
        for (char** e = environ; *e; ++e) {
            std::string v = *e;
            for (const char* weg : {"HOME=", "XDG_CONFIG_HOME=", "XDG_DATA_HOME=", "XDG_CACHE_HOME=",
                                    "XDG_CURRENT_DESKTOP="}) {
                if (v.rfind(weg, 0) == 0) v.clear();
            }
            if (!v.empty()) umgebung.push_back(v);
        }
        umgebung.push_back("HOME=" + heim);
        std::vector<char*> zeiger;
        for (auto& v : umgebung) zeiger.push_back(v.data());
        zeiger.push_back(nullptr);
        std::string programm = KLEBWERK_PROGRAMM;
        pid_ = ::fork();
        if (pid_ == 0) {
            int leer = ::open("/dev/null", O_WRONLY);
            ::dup2(leer, 1);
            char* argv[] = {programm.data(), nullptr};
            ::execve(programm.c_str(), argv, zeiger.data());
            ::_exit(127);
        }
    }
    ~Klebwerk() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGTERM);
        auto ende = Zeit::now() + std::chrono::seconds(5);
        while (::waitpid(pid_, nullptr, WNOHANG) == 0) {
            if (Zeit::now() > ende) {
                ::kill(pid_, SIGKILL);
                ::waitpid(pid_, nullptr, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    bool laeuft() const { return pid_ > 0 && ::waitpid(pid_, nullptr, WNOHANG) == 0; }

private:
    pid_t pid_ = -1;
};

std::vector<std::string> logTexte(const std::string& datei) {
    std::ifstream f(datei);
    std::vector<std::string> texte;
    std::string zeile;
    while (std::getline(f, zeile)) texte.push_back(zeile.size() > 20 ? zeile.substr(20) : zeile);
    return texte;
}

int zaehle(const std::vector<std::string>& texte, const std::string& anfang) {
    int n = 0;
    for (const auto& t : texte) n += t.rfind(anfang, 0) == 0;
    return n;
}

// Polls until `bedingung` holds or the deadline passes.
bool warteBis(std::function<bool()> bedingung, double sekunden) {
    auto ende = Zeit::now() + std::chrono::duration_cast<Zeit::duration>(std::chrono::duration<double>(sekunden));
    while (Zeit::now() < ende) {
        if (bedingung()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return bedingung();
}

void schreibe(const std::string& pfad, const std::string& inhalt) {
    std::ofstream f(pfad, std::ios::binary);
    f << inhalt;
}

TEST(Aufnahme, BildschirmfotoImBeobachtetenOrdnerWirdEinmalProtokolliertTextdateiNie) {
    Heim heim;
    std::string ordner = heim.pfad + "/Aufnahmen";
    fs::create_directories(ordner);
    fs::create_directories(heim.pfad + "/.config/de.quenmoral.klebwerk");
    schreibe(heim.pfad + "/.config/de.quenmoral.klebwerk/praeferenzen.json",
             R"({"com.apple.screencapture": {"location": "~/Aufnahmen"}})");
    std::string log = heim.pfad + "/.local/share/Klebwerk/log.txt";

    Klebwerk k(heim.pfad);
    ASSERT_TRUE(warteBis([&] { return zaehle(logTexte(log), "Beobachte " + ordner) == 1; }, 20))
        << "Klebwerk did not start watching " << ordner;

    schreibe(ordner + "/notiz.txt", "kein Bild");
    std::string png("\x89PNG\r\n\x1a\n", 8);
    png += std::string(20000, '\0');
    schreibe(ordner + "/Screenshot 2024-05-01 um 10.00.00.png", png);
    const std::string zeile = "Screenshot: Screenshot 2024-05-01 um 10.00.00.png";
    ASSERT_TRUE(warteBis([&] { return zaehle(logTexte(log), zeile) >= 1; }, 10));

    // The watcher scans up to 4 s after the last folder event: watch the log past that.
    warteBis([&] { return zaehle(logTexte(log), "Screenshot: ") > 1 || !k.laeuft(); }, 5);
    auto texte = logTexte(log);
    EXPECT_EQ(zaehle(texte, zeile), 1);
    EXPECT_EQ(zaehle(texte, "Screenshot: "), 1);
    EXPECT_EQ(zaehle(texte, "Screenshot: notiz.txt"), 0);
    EXPECT_TRUE(k.laeuft());
}

}  // namespace
