// The read-aloud watch on the real desktop: the project's chat writes an answer with a
// stop button; once it is finished and the pointer rests, Klebwerk hovers over it and
// clicks the read-aloud button with real pointer events, then puts the pointer back.

#include <gtest/gtest.h>

#include <csignal>
#include <sstream>

#include "desktop/klebwerk_lauf.h"
#include "support/protokoll_hilfe.h"

namespace klebwerk {
namespace {

using test::ausgabeVon;
using test::Kindprozess;
using test::KlebwerkLauf;
using test::warteBis;

// Where the user's pointer rests: away from the chat and from the screen's top right.
const std::string ruheX = "900", ruheY = "650";

std::string zeigerOrt() {
    // "x:900 y:650 screen:0 window:…" → "900 650"
    std::istringstream in(ausgabeVon({"xdotool", "getmouselocation"}));
    std::string x, y;
    in >> x >> y;
    return x.substr(x.find(':') + 1) + " " + y.substr(y.find(':') + 1);
}

// x, y, width, height of the visible window with that title.
std::vector<int> fensterLage(const std::string& titel) {
    std::string id = ausgabeVon({"xdotool", "search", "--onlyvisible", "--name", "^" + titel + "$"});
    std::istringstream in(ausgabeVon({"xdotool", "getwindowgeometry", "--shell", id.substr(0, id.find('\n'))}));
    std::vector<int> werte;
    for (std::string zeile; std::getline(in, zeile);) {
        for (const char* name : {"X=", "Y=", "WIDTH=", "HEIGHT="})
            if (zeile.rfind(name, 0) == 0) werte.push_back(std::stoi(zeile.substr(std::string(name).size())));
    }
    return werte;
}

class VorlesenEcht : public ::testing::Test {
protected:
    KlebwerkLauf lauf;
    std::unique_ptr<Kindprozess> chat;

    void SetUp() override {
        lauf.schreibeEinstellungen(R"({"testBefehle": true, "feldSichtbar": false})");
        chat = std::make_unique<Kindprozess>(std::vector<std::string>{KLEBWERK_QT_CHAT, "--antwort"},
                                             std::vector<std::string>{"QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1",
                                                                      "QT_ACCESSIBILITY=1", "QT_QPA_PLATFORM=xcb"});
        ASSERT_TRUE(warteBis([] {
            return !ausgabeVon({"xdotool", "search", "--onlyvisible", "--name", "^Antwort-Chat$"}).empty();
        }));
        ASSERT_TRUE(lauf.starte());
        ASSERT_TRUE(warteBis([&] { return lauf.protokollEnthaelt(" Start, Freigabe: true\n"); })) << lauf.protokoll();
        befehl("ziel|klebwerk_qt_chat|Antwort-Chat");
        ASSERT_TRUE(warteBis([&] { return lauf.protokollEnthaelt(" Aktives Ziel: "); })) << lauf.protokoll();
        befehl("knopf|AXButton|Antwort vorlesen");
        ruhe();
    }

    void befehl(const std::string& text) {
        const int vorher = test::vorkommen(lauf.protokoll(), " Testbefehl: ");
        ASSERT_EQ(test::sendeBefehl(text), 0);
        ASSERT_TRUE(warteBis([&] { return test::vorkommen(lauf.protokoll(), " Testbefehl: ") > vorher; })) << text;
    }
    // The user's pointer goes to its resting place.
    static void ruhe() {
        ASSERT_EQ(test::fuehreAus({"xdotool", "mousemove", ruheX, ruheY}), 0);
        ASSERT_TRUE(warteBis([] { return zeigerOrt() == ruheX + " " + ruheY; }));
    }
    bool chatSagt(const std::string& anfang) const {
        return chat->ausgabe().find("\n" + anfang) != std::string::npos;
    }
    void schreibeAntwort() {
        ASSERT_EQ(kill(chat->pid(), SIGUSR1), 0);
        ASSERT_TRUE(warteBis([&] { return chatSagt("antwort läuft "); })) << chat->ausgabe();
    }
    std::string bericht() const { return chat->ausgabe() + "\n---\n" + lauf.protokoll(); }
};

TEST_F(VorlesenEcht, DieWacheKlicktDenVorleseknopfMitEchtenZeigerereignissen) {
    befehl("wache");
    schreibeAntwort();
    ASSERT_TRUE(warteBis([&] { return lauf.protokollEnthaelt(" Vorlesen: Antwort läuft\n"); })) << bericht();
    ASSERT_TRUE(warteBis([&] { return chatSagt("antwort fertig "); }, 10)) << bericht();
    ASSERT_TRUE(warteBis([&] { return chatSagt("vorlesen gedrückt "); }, 15)) << bericht();
    EXPECT_TRUE(chatSagt("vorlesen maus ")) << "the press came from the pointer\n" << bericht();
    // How long after the answer finished the button was pressed (one tick after the
    // tick that saw it finished, plus the hover).
    auto zeit = [&](const std::string& anfang) {
        const std::string a = chat->ausgabe();
        const auto p = a.find("\n" + anfang);
        return std::stoll(a.substr(p + 1 + anfang.size(), a.find('\n', p + 1) - p - 1 - anfang.size()));
    };
    RecordProperty("fertig_bis_klick_ms", std::to_string(zeit("vorlesen gedrückt ") - zeit("antwort fertig ")));
    EXPECT_TRUE(warteBis([&] { return lauf.protokollEnthaelt(" Vorlesen gedrückt: true\n"); })) << bericht();
    EXPECT_TRUE(warteBis([] { return zeigerOrt() == ruheX + " " + ruheY; })) << "the pointer is back: " << zeigerOrt();
    EXPECT_TRUE(warteBis([&] {
        return test::liesDatei(lauf.daten("status.json")).find("\"wacheLaeuft\": false") != std::string::npos;
    })) << "the watch has ended";
}

TEST_F(VorlesenEcht, VorlesenDruecktDenKnopfSofort) {
    schreibeAntwort();
    ASSERT_TRUE(warteBis([&] { return chatSagt("antwort fertig "); }, 10)) << bericht();
    befehl("vorlesen");
    ASSERT_TRUE(warteBis([&] { return chatSagt("vorlesen maus "); }, 10)) << bericht();
    EXPECT_TRUE(warteBis([&] { return lauf.protokollEnthaelt(" Jetzt vorlesen: true\n"); })) << bericht();
    EXPECT_TRUE(warteBis([] { return zeigerOrt() == ruheX + " " + ruheY; })) << zeigerOrt();
}

TEST_F(VorlesenEcht, EinFensterUeberDerAntwortLaesstDenZeigerInRuhe) {
    // Another program's window over the answer and the hover points above the input
    // field: from above the chat down to 100 points above its bottom edge.
    const auto g = fensterLage("Antwort-Chat");
    ASSERT_EQ(g.size(), 4u);
    Kindprozess decke({KLEBWERK_PROBEFENSTER, "Decke", std::to_string(g[0] - 20), std::to_string(g[1] - 40),
                       std::to_string(g[2] + 40), std::to_string(g[3] + 40 - 100)},
                      {"QT_QPA_PLATFORM=xcb"});
    ASSERT_TRUE(warteBis([] { return !ausgabeVon({"xdotool", "search", "--onlyvisible", "--name", "^Decke$"}).empty(); }));
    befehl("wache");
    schreibeAntwort();
    ASSERT_TRUE(warteBis([&] { return chatSagt("antwort fertig "); }, 10)) << bericht();
    ASSERT_TRUE(warteBis([&] { return lauf.protokollEnthaelt(" Vorlesen: Antwort ist verdeckt, kein Sprung\n"); }, 15))
        << bericht();
    EXPECT_TRUE(warteBis([&] {
        return lauf.protokollEnthaelt(" Vorlesen: Knopf nach Sprung nicht gefunden (Versuch 1)\n");
    })) << bericht();
    EXPECT_EQ(zeigerOrt(), ruheX + " " + ruheY);
    EXPECT_FALSE(chatSagt("vorlesen ")) << bericht();
}

}  // namespace
}  // namespace klebwerk
