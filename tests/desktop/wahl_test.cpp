// build/klebwerk driven only as a user drives it: ⌃⌥S, pointer moves, clicks and keys
// through XTest (xdotool), then a capture in the watched folder.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>

#include <QImage>

#include "desktop/klebwerk_lauf.h"
#include "desktop/x11_hilfe.h"
#include "platform/geometrie.h"

namespace klebwerk {
namespace {

namespace fs = std::filesystem;
using test::KlebwerkLauf;
using test::liesDatei;

// The output of a program (argv only, no shell).
std::string ausgabe(const std::vector<std::string>& befehl) {
    int rohr[2];
    if (pipe(rohr) != 0) return {};
    posix_spawn_file_actions_t aktionen;
    posix_spawn_file_actions_init(&aktionen);
    posix_spawn_file_actions_adddup2(&aktionen, rohr[1], 1);
    posix_spawn_file_actions_addclose(&aktionen, rohr[0]);
    std::vector<char*> argv;
    for (const auto& a : befehl) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid;
    int ok = posix_spawnp(&pid, argv[0], &aktionen, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&aktionen);
    close(rohr[1]);
    std::string text;
    char puffer[4096];
    for (ssize_t n; (n = read(rohr[0], puffer, sizeof puffer)) > 0;) text.append(puffer, static_cast<size_t>(n));
    close(rohr[0]);
    if (ok == 0) waitpid(pid, nullptr, 0);
    return text;
}

// Position and size of the first visible window with that exact name.
std::optional<Rechteck> fensterRahmen(const std::string& name) {
    std::string ids = ausgabe({"xdotool", "search", "--onlyvisible", "--name", "^" + name + "$"});
    if (ids.empty()) return std::nullopt;
    std::string id = ids.substr(0, ids.find('\n'));
    std::string g = ausgabe({"xdotool", "getwindowgeometry", id});
    std::smatch m;
    std::regex muster(R"(Position: (-?\d+),(-?\d+)[\s\S]*Geometry: (\d+)x(\d+))");
    if (!std::regex_search(g, m, muster)) return std::nullopt;
    return Rechteck{std::stod(m[1]), std::stod(m[2]), std::stod(m[3]), std::stod(m[4])};
}

bool bis(const std::function<bool()>& bedingung, double frist = 15.0) { return test::warteBis(bedingung, frist); }

int xdo(std::vector<std::string> a) {
    a.insert(a.begin(), "xdotool");
    return test::fuehreAus(a);
}

class Wahl : public ::testing::Test {
protected:
    void SetUp() override {
        if (!test::hatAnzeige()) GTEST_SKIP() << "no display";
        // The test window on the accessibility bus, so that a click can pair it.
        setenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1", 1);
        setenv("QT_ACCESSIBILITY", "1", 1);
    }
    bool status(const std::string& teil) const {
        return liesDatei(lauf.daten("status.json")).find(teil) != std::string::npos;
    }
    KlebwerkLauf lauf;
};

TEST_F(Wahl, KuerzelKlickUndAufnahmeWieEinNutzer) {
    fs::create_directories(lauf.heim() + "/Aufnahmen");
    fs::create_directories(lauf.heim() + "/.config/de.quenmoral.klebwerk");
    std::ofstream(lauf.heim() + "/.config/de.quenmoral.klebwerk/praeferenzen.json")
        << R"({"com.apple.screencapture": {"location": "~/Aufnahmen"}})";
    lauf.schreibeEinstellungen(R"({"testBefehle": true, "feldSichtbar": false})");

    test::Probefenster probe("Wahlprobe", 300, 200, 500, 350);
    ASSERT_TRUE(bis([&] { return probe.fensterId() != 0; }));
    // Managed by the window manager: only its client list makes a window choosable.
    char hex[32];
    std::snprintf(hex, sizeof hex, "0x%x", probe.fensterId());
    ASSERT_TRUE(bis([&] {
        std::string liste = ausgabe({"xprop", "-root", "_NET_CLIENT_LIST"});
        return std::regex_search(liste, std::regex(std::string(hex) + "\\b"));
    })) << "the window manager does not manage " << hex;
    std::optional<Rechteck> gesehen;
    ASSERT_TRUE(bis([&] {
        gesehen = fensterRahmen("Wahlprobe");
        return gesehen && std::abs(gesehen->x - 300) < 50 && std::abs(gesehen->y - 200) < 50;
    })) << (gesehen ? std::to_string(gesehen->x) + "," + std::to_string(gesehen->y) : std::string("not found"));
    const Rechteck fenster = *gesehen;
    const Punkt mitte = fenster.mitte();

    ASSERT_TRUE(lauf.starte());
    ASSERT_TRUE(bis([&] { return lauf.protokollEnthaelt(" Start, Freigabe: true\n"); })) << lauf.protokoll();
    ASSERT_TRUE(lauf.protokollEnthaelt(" Kürzel ⌃⌥S registriert: 0\n")) << lauf.protokoll();

    // ⌃⌥S from anywhere starts the choice.
    ASSERT_EQ(xdo({"mousemove", "20", "780"}), 0);
    ASSERT_EQ(xdo({"key", "ctrl+alt+s"}), 0);
    ASSERT_TRUE(bis([&] { return status("\"modus\": \"wahl\""); })) << lauf.protokoll();
    EXPECT_TRUE(lauf.protokollEnthaelt(" Auswahl gestartet\n"));

    // The frame follows the pointer onto the window.
    ASSERT_EQ(xdo({"mousemove", std::to_string(int(mitte.x)), std::to_string(int(mitte.y))}), 0);
    ASSERT_TRUE(bis([&] {
        auto r = fensterRahmen("Klebwerk Rahmen");
        return r && r->enthaelt(mitte) && std::abs(r->breite - fenster.breite) < 40 && std::abs(r->hoehe - fenster.hoehe) < 60;
    })) << [&] {
        auto r = fensterRahmen("Klebwerk Rahmen");
        if (!r) return "frame not shown, window at " + std::to_string(fenster.x) + "," + std::to_string(fenster.y);
        return "frame at " + std::to_string(r->x) + "," + std::to_string(r->y) + " " + std::to_string(r->breite) + "x" +
               std::to_string(r->hoehe) + ", window at " + std::to_string(fenster.x) + "," + std::to_string(fenster.y);
    }() << "\n" << lauf.protokoll();

    // A right click and a wheel turn reach the window as outside the choice; the
    // choice goes on.
    auto hatZeile = [&](const std::string& anfang) {
        for (const auto& z : probe.zeilen())
            if (z.rfind(anfang, 0) == 0) return true;
        return false;
    };
    ASSERT_EQ(xdo({"click", "3"}), 0);
    EXPECT_TRUE(bis([&] { return hatZeile("maus 2 "); })) << "the right click did not reach the window";
    ASSERT_EQ(xdo({"click", "4"}), 0);
    EXPECT_TRUE(bis([&] { return hatZeile("rad 1"); })) << "the wheel did not reach the window";
    EXPECT_TRUE(status("\"modus\": \"wahl\""));

    // The left click chooses it; the window never sees that click.
    ASSERT_EQ(xdo({"click", "1"}), 0);
    ASSERT_TRUE(bis([&] { return status("\"titel\": \"Wahlprobe\""); })) << lauf.protokoll();
    EXPECT_TRUE(bis([&] { return status("\"modus\": \"keiner\""); }));
    EXPECT_TRUE(lauf.protokollEnthaelt(" (Wahlprobe)\n")) << lauf.protokoll();
    EXPECT_TRUE(fensterRahmen("Klebwerk Rahmen").has_value()) << "the green frame of the choice";
    EXPECT_TRUE(fensterRahmen("Klebwerk Hinweis").has_value()) << "the hint of the choice";

    // The grab is gone: the next click reaches the window (and gives it the focus).
    ASSERT_EQ(xdo({"click", "1"}), 0);
    ASSERT_TRUE(bis([&] { return hatZeile("maus 1 "); }));
    int klicks = 0;
    for (const auto& z : probe.zeilen()) klicks += z.rfind("maus 1 ", 0) == 0;
    EXPECT_EQ(klicks, 1) << "only the left click after the choice";

    // In the choice other keys reach the window; Escape ends it and stays with Klebwerk.
    ASSERT_EQ(xdo({"key", "ctrl+alt+s"}), 0);
    ASSERT_TRUE(bis([&] { return status("\"modus\": \"wahl\""); }));
    ASSERT_EQ(xdo({"key", "a"}), 0);
    EXPECT_TRUE(bis([&] { return probe.hat("taste 65 0"); }));
    ASSERT_EQ(xdo({"key", "Escape"}), 0);
    ASSERT_TRUE(bis([&] { return status("\"modus\": \"keiner\""); }));
    EXPECT_TRUE(lauf.protokollEnthaelt(" Auswahl abgebrochen (esc)\n"));
    ASSERT_EQ(xdo({"key", "b"}), 0);
    ASSERT_TRUE(bis([&] { return probe.hat("taste 66 0"); }));
    EXPECT_FALSE(probe.hat("taste 16777216 0")) << "Escape was swallowed";

    // A capture lands in the chosen window.
    QImage bild(64, 48, QImage::Format_RGB32);
    bild.fill(Qt::darkCyan);
    const std::string teil = lauf.heim() + "/Aufnahmen/.Bildschirmfoto.png";
    ASSERT_TRUE(bild.save(QString::fromStdString(teil), "PNG"));
    fs::rename(teil, lauf.heim() + "/Aufnahmen/Bildschirmfoto 2026-12-10 um 10.00.00.png");
    EXPECT_TRUE(bis([&] {
        for (const auto& z : probe.zeilen())
            if (z.rfind("einfuegen ", 0) == 0 && z.find("image/png") != std::string::npos) return true;
        return false;
    }, 20)) << lauf.protokoll();
    EXPECT_EQ(lauf.beende(), 0);
}

}  // namespace
}  // namespace klebwerk
