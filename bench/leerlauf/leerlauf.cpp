// Idle cost with connected targets on the real desktop: four windows of the project's
// Qt fixture and one Chromium window are connected, one of them is in front, and nothing
// changes while Klebwerk idles with its focus poll running. Measured over the window:
// Klebwerk's CPU time (all threads) and resident memory, and how long each focus tick
// kept its main thread (the test command "takte"). Run inside a desktop session:
//   scripts/desktop-session build/bench/klebwerk_leerlauf [seconds] [--chromium-vorn]

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <unistd.h>

#include "desktop/klebwerk_lauf.h"

using namespace klebwerk::test;

namespace {

// utime + stime of the process, in seconds.
double cpuSekunden(pid_t pid) {
    std::ifstream datei("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(datei)), {});
    const auto klammer = text.rfind(')');
    if (klammer == std::string::npos) return -1;
    std::istringstream rest(text.substr(klammer + 2));
    std::string feld;
    long long utime = 0, stime = 0;
    for (int i = 3; rest >> feld; ++i) {
        if (i == 14) utime = std::stoll(feld);
        if (i == 15) {
            stime = std::stoll(feld);
            break;
        }
    }
    return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// A line "VmRSS:  12345 kB" of /proc/PID/status, in MB.
double statusMb(pid_t pid, const std::string& schluessel) {
    std::ifstream datei("/proc/" + std::to_string(pid) + "/status");
    for (std::string zeile; std::getline(datei, zeile);) {
        if (zeile.rfind(schluessel + ":", 0) == 0) return std::stod(zeile.substr(schluessel.size() + 1)) / 1024.0;
    }
    return -1;
}

std::vector<std::string> verbunden(const KlebwerkLauf& lauf) {
    auto o = QJsonDocument::fromJson(QByteArray::fromStdString(liesDatei(lauf.daten("status.json")))).object();
    std::vector<std::string> liste;
    for (const auto& v : o.value("verbunden").toArray()) liste.push_back(v.toString().toStdString());
    return liste;
}

// Chooses the window until `anzahl` targets are connected.
bool verbinde(KlebwerkLauf& lauf, const std::string& app, const std::string& titel, std::size_t anzahl,
              double frist = 60) {
    return warteBis(
        [&] {
            sendeBefehl("ziel|" + app + "|" + titel);
            return warteBis([&] { return verbunden(lauf).size() >= anzahl; }, 1.0);
        },
        frist);
}

std::string fensterId(const std::string& titel) {
    std::string ids = ausgabeVon({"xdotool", "search", "--onlyvisible", "--name", titel});
    return ids.substr(0, ids.find('\n'));
}

}  // namespace

int main(int argc, char** argv) {
    double sekunden = 60;
    bool chromiumVorn = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--chromium-vorn") == 0) chromiumVorn = true;
        else sekunden = std::max(1.0, std::atof(argv[i]));
    }
    KlebwerkLauf lauf;
    lauf.schreibeEinstellungen(R"({"testBefehle": true, "feldSichtbar": false})");
    QTemporaryDir profil;
    const std::vector<std::string> qt = {"QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1", "QT_ACCESSIBILITY=1", "QT_QPA_PLATFORM=xcb"};
    Kindprozess gruppe({KLEBWERK_FENSTERGRUPPE, "Eins", "Zwei", "Drei", "Vier"}, qt);
    Kindprozess chromium({"chromium", "--no-sandbox", "--disable-background-networking", "--disable-component-update",
                          "--disable-sync", "--no-first-run", "--force-renderer-accessibility", "--disable-gpu",
                          "--user-data-dir=" + profil.path().toStdString(), "--window-position=600,80",
                          "--window-size=640,560", "file://" KLEBWERK_TESTSEITEN "/seite.html"},
                         {"ACCESSIBILITY_ENABLED=1"});
    if (!warteBis([] { return !fensterId("^Vier$").empty() && !fensterId("Testseite Chat").empty(); }, 60) ||
        !lauf.starte() || !warteBis([&] { return lauf.protokollEnthaelt(" Start, Freigabe: true\n"); })) {
        std::fprintf(stderr, "the windows or Klebwerk did not start\n");
        return 1;
    }
    std::size_t n = 0;
    for (const char* t : {"Eins", "Zwei", "Drei", "Vier"}) {
        if (!verbinde(lauf, "klebwerk_fenstergruppe", t, ++n)) {
            std::fprintf(stderr, "window %s did not connect\n%s", t, lauf.protokoll().c_str());
            return 1;
        }
    }
    if (!verbinde(lauf, "Chromium Web Browser", "Testseite Chat", 5, 20)) {
        sendeBefehl("fenster");
        warteBis([&] { return std::filesystem::exists(lauf.daten("fenster.txt")); }, 5);
        std::fprintf(stderr, "Chromium did not connect (connected: %zu); the windows offered:\n%s\n",
                     verbunden(lauf).size(), liesDatei(lauf.daten("fenster.txt")).c_str());
        return 1;
    }
    const std::string vorn = chromiumVorn ? fensterId("Testseite Chat") : fensterId("^Zwei$");
    fuehreAus({"xdotool", "windowactivate", "--sync", vorn});
    // Settle: the poll reacts to the new front window once, then only looks.
    warteBis([] { return false; }, 3.0);

    const pid_t pid = lauf.pid();
    sendeBefehl("takte");
    const double cpuAnfang = cpuSekunden(pid);
    const auto anfang = std::chrono::steady_clock::now();
    warteBis([] { return false; }, sekunden);
    const double cpuEnde = cpuSekunden(pid);
    const double dauer = std::chrono::duration<double>(std::chrono::steady_clock::now() - anfang).count();
    const double rss = statusMb(pid, "VmRSS"), hoechst = statusMb(pid, "VmHWM");
    const auto vorher = std::filesystem::exists(lauf.daten("takte.txt")) ? std::filesystem::last_write_time(lauf.daten("takte.txt"))
                                                                        : std::filesystem::file_time_type{};
    sendeBefehl("takte");
    warteBis([&] {
        return std::filesystem::exists(lauf.daten("takte.txt")) &&
               std::filesystem::last_write_time(lauf.daten("takte.txt")) != vorher;
    });
    std::vector<double> takte, nurFokus, mitAbgleich;
    std::istringstream zeilen(liesDatei(lauf.daten("takte.txt")));
    for (std::string z; std::getline(zeilen, z);) {
        if (z.empty()) continue;
        const double ms = std::stod(z) / 1000.0;
        takte.push_back(ms);
        (z.size() > 2 && z.compare(z.size() - 2, 2, " 1") == 0 ? mitAbgleich : nurFokus).push_back(ms);
    }
    const std::size_t verbundenZahl = verbunden(lauf).size();
    lauf.beende();
    if (takte.empty()) {
        std::fprintf(stderr, "no ticks recorded\n");
        return 1;
    }
    for (auto* v : {&takte, &nurFokus, &mitAbgleich}) std::sort(v->begin(), v->end());
    auto zeile = [](const char* was, const std::vector<double>& v) {
        if (v.empty()) return;
        std::printf("  %s: %zu, ms: median %.3f  p90 %.3f  max %.3f\n", was, v.size(), v[v.size() / 2],
                    v[v.size() * 9 / 10], v.back());
    };
    std::printf("connected targets: %zu, in front: %s, measured %.1f s\n", verbundenZahl,
                chromiumVorn ? "Chromium" : "a Qt fixture window", dauer);
    std::printf("CPU: %.3f s = %.3f %% of one core\n", cpuEnde - cpuAnfang, 100.0 * (cpuEnde - cpuAnfang) / dauer);
    std::printf("resident: %.1f MB (peak %.1f MB)\n", rss, hoechst);
    std::printf("focus ticks, main thread per tick:\n");
    zeile("all ticks", takte);
    zeile("focus poll alone", nurFokus);
    zeile("with the 2-second checks", mitAbgleich);
    return 0;
}
