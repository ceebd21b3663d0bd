// The status item in a real XEmbed tray: its menu opens on a click, its window list
// chooses a target, and the language switch relaunches Klebwerk without a shell.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <signal.h>

#include "desktop/klebwerk_lauf.h"

namespace klebwerk {
namespace {

using test::ausgabeVon;
using test::Kindprozess;
using test::KlebwerkLauf;
using test::warteBis;

struct Ort {
    int x = 0, y = 0, breite = 0, hoehe = 0;
};

// Klebwerk's own windows with their absolute places, from the window tree.
std::vector<Ort> klebwerkFenster() {
    std::vector<Ort> orte;
    std::istringstream baum(ausgabeVon({"xwininfo", "-root", "-tree"}));
    for (std::string zeile; std::getline(baum, zeile);) {
        if (zeile.find("(\"klebwerk\" \"Klebwerk\")") == std::string::npos) continue;
        // "…)  22x22+0+0  +1257+1"
        Ort o;
        const auto mass = zeile.find(")  ") + 3;
        int rx = 0, ry = 0;
        if (std::sscanf(zeile.c_str() + mass, "%dx%d+%d+%d  +%d+%d", &o.breite, &o.hoehe, &rx, &ry, &o.x, &o.y) == 6)
            orte.push_back(o);
    }
    return orte;
}

// The process that runs `programm`, other than `ausser`; 0 when there is none.
pid_t prozessVon(const std::string& programm, pid_t ausser) {
    for (const auto& e : std::filesystem::directory_iterator("/proc")) {
        const std::string name = e.path().filename();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        std::error_code f;
        const auto exe = std::filesystem::read_symlink(e.path() / "exe", f);
        const pid_t pid = std::stoi(name);
        if (!f && exe == programm && pid != ausser) {
            // Not the relaunch helper still waiting: its arguments name the helper switch.
            const std::string aufruf = test::liesDatei(e.path() / "cmdline");
            if (aufruf.find("--neustart-nach") == std::string::npos) return pid;
        }
    }
    return 0;
}

class Leiste : public ::testing::Test {
protected:
    KlebwerkLauf lauf;
    std::unique_ptr<Kindprozess> tray, chat;
    Ort symbol;

    void SetUp() override {
        tray = std::make_unique<Kindprozess>(std::vector<std::string>{
            "trayer", "--edge", "top", "--align", "right", "--widthtype", "request", "--height", "24", "--SetDockType",
            "true", "--transparent", "false"});
        ASSERT_TRUE(warteBis([] { return !ausgabeVon({"xdotool", "search", "--class", "trayer"}).empty(); }));
        lauf.schreibeEinstellungen(R"({"testBefehle": true, "sprache": "de"})");
    }
    void TearDown() override {
        // A relaunched instance is this test's to end.
        if (neu > 0) {
            kill(neu, SIGKILL);
            warteBis([&] { return kill(neu, 0) != 0; }, 5);
        }
    }
    void starteUndFindeSymbol(const std::string& programm = KLEBWERK_PROGRAMM) {
        ASSERT_TRUE(lauf.starte(programm));
        ASSERT_TRUE(warteBis([&] { return lauf.protokollEnthaelt(" Start, Freigabe: true\n"); })) << lauf.protokoll();
        EXPECT_TRUE(lauf.protokollEnthaelt(" Statusbereich gefunden: true\n"));
        // The icon embedded in the tray: a small window of Klebwerk's at the top.
        ASSERT_TRUE(warteBis([&] {
            for (const Ort& o : klebwerkFenster()) {
                if (o.breite >= 16 && o.breite <= 32 && o.y < 24) symbol = o;
            }
            return symbol.breite > 0;
        }));
    }
    // A click on the icon; true once the menu is on screen.
    bool oeffneMenue(const std::string& taste) {
        test::fuehreAus({"xdotool", "mousemove", std::to_string(symbol.x + symbol.breite / 2),
                         std::to_string(symbol.y + symbol.hoehe / 2), "click", taste});
        return warteBis([] {
            for (const Ort& o : klebwerkFenster()) {
                if (o.breite > 150 && o.hoehe > 100) return true;
            }
            return false;
        });
    }
    pid_t neu = 0;
};

TEST_F(Leiste, EinKlickOeffnetDasMenueUndSeineFensterlisteWaehltDasZiel) {
    chat = std::make_unique<Kindprozess>(std::vector<std::string>{KLEBWERK_DEMO_CHAT},
                                         std::vector<std::string>{"QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1"});
    ASSERT_TRUE(warteBis([] { return !ausgabeVon({"xdotool", "search", "--onlyvisible", "--name", "^Demo-Chat$"}).empty(); }));
    starteUndFindeSymbol();
    ASSERT_TRUE(oeffneMenue("1")) << "a left click opens the menu";
    // The first item is disabled: Down, Down lands on "Fenster wählen"; Right opens its
    // list with the first window chosen.
    test::fuehreAus({"xdotool", "key", "Down", "Down", "Right", "Return"});
    ASSERT_TRUE(warteBis([&] { return lauf.protokollEnthaelt(" Aktives Ziel: "); })) << lauf.protokoll();
    EXPECT_TRUE(lauf.protokollEnthaelt("Demo-Chat")) << lauf.protokoll();
}

TEST_F(Leiste, DerSprachwechselStartetAusEinemOrdnerMitLeerzeichenAnfuehrungUndDollarNeu) {
    QTemporaryDir ordner;
    const std::filesystem::path heikel = ordner.path().toStdString() + "/Kleb werk \"zitiert\" $HOME";
    std::filesystem::create_directories(heikel);
    const std::string kopie = (heikel / "klebwerk").string();
    std::filesystem::copy_file(KLEBWERK_PROGRAMM, kopie);
    std::filesystem::permissions(kopie, std::filesystem::perms::owner_all);

    starteUndFindeSymbol(kopie);
    const pid_t alt = lauf.pid();
    ASSERT_TRUE(oeffneMenue("3"));
    // From the end: "Beenden", then the language switch above the separator.
    test::fuehreAus({"xdotool", "key", "Up", "Up", "Return"});
    ASSERT_TRUE(lauf.warteAufEnde(10).has_value()) << "the old instance ends";
    ASSERT_TRUE(warteBis([&] { return (neu = prozessVon(kopie, alt)) > 0; }, 15)) << "no new instance";
    EXPECT_TRUE(lauf.protokollEnthaelt(" Sprache gewechselt auf en, Neustart\n"));
    EXPECT_NE(test::liesDatei(lauf.einstellungsDatei()).find("\"sprache\": \"en\""), std::string::npos);
    // The new instance speaks English.
    ASSERT_TRUE(warteBis([&] {
        test::sendeBefehl("menue");
        return test::liesDatei(lauf.daten("menue.txt")).find("Switch to German (Deutsch)") != std::string::npos;
    }));
}

}  // namespace
}  // namespace klebwerk
