// Synthetic input of the x11 backend reaching a real window.

#include <gtest/gtest.h>

#include <QProcess>
#include <xcb/xtest.h>

#include "desktop/x11_hilfe.h"
#include "platform/x11/x11_eingabe.h"

namespace klebwerk::x11 {
namespace {

using test::Probefenster;
using test::warteBis;

constexpr int qtTasteV = 0x56, qtTasteReturn = 0x01000004;
constexpr unsigned qtControl = 0x04000000, qtShift = 0x02000000;

std::string tastenZeile(int taste, unsigned modifikatoren) {
    return "taste " + std::to_string(taste) + " " + std::to_string(modifikatoren);
}

bool setzeBelegung(const QStringList& argumente) {
    return QProcess::execute("setxkbmap", argumente) == 0;
}

class X11EingabeTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!test::hatAnzeige()) GTEST_SKIP() << "no display";
        x = std::make_unique<XVerbindung>();
        ASSERT_TRUE(x->verbunden());
        tastatur = std::make_unique<XTastatur>(*x);
        eingabe = std::make_unique<X11Eingabe>(*x, *tastatur);
    }
    void TearDown() override {
        eingabe.reset();
        tastatur.reset();
        x.reset();
    }
    // The window is up, in front and its text area has the focus.
    void bereit(Probefenster& p) {
        ASSERT_TRUE(warteBis([&] { return p.fensterId() && x->fensterMit(p.fensterId()); }));
        x->aktiviereFenster(p.fensterId());
        ASSERT_TRUE(warteBis([&] { return x->aktivesFenster() == p.fensterId() && p.hat("fokus"); }));
    }
    std::unique_ptr<XVerbindung> x;
    std::unique_ptr<XTastatur> tastatur;
    std::unique_ptr<X11Eingabe> eingabe;
};

TEST_F(X11EingabeTest, BefehlVErreichtDasFensterVornAlsControlV) {
    Probefenster p("Eingabe Probe", 100, 100, 400, 300);
    bereit(p);
    eingabe->taste(0x09, flagge::befehl, std::nullopt);
    EXPECT_TRUE(warteBis([&] { return p.hat(tastenZeile(qtTasteV, qtControl)); }));
    eingabe->taste(0x24, 0, std::nullopt);
    EXPECT_TRUE(warteBis([&] { return p.hat(tastenZeile(qtTasteReturn, 0)); })) << [&] {
        std::string s;
        for (auto& z : p.zeilen()) s += z + "\n";
        return s;
    }();
    // Exactly the flags asked for: nothing stays held afterwards.
    x->gleicheAb(1);
    EXPECT_EQ(eingabe->gehalteneFlaggen(), 0u);
}

TEST_F(X11EingabeTest, AufDvorakIstBefehlVDieTasteDesV) {
    if (!setzeBelegung({"-layout", "us", "-variant", "dvorak"})) GTEST_SKIP() << "setxkbmap failed";
    struct Zurueck {
        ~Zurueck() { setzeBelegung({"-layout", "us"}); }
    } zurueck;
    // The new keymap reached the thread once the position of V types "k".
    ASSERT_TRUE(warteBis([&] { return eingabe->zeichen(0x09) == "k"; }));
    EXPECT_EQ(eingabe->zeichen(0x00), "a");
    Probefenster p("Dvorak Probe", 100, 100, 400, 300);
    bereit(p);
    eingabe->taste(0x09, flagge::befehl, std::nullopt);
    EXPECT_TRUE(warteBis([&] { return p.hat(tastenZeile(qtTasteV, qtControl)); }));
}

TEST_F(X11EingabeTest, ZeichenAufUsBelegung) {
    setzeBelegung({"-layout", "us"});
    ASSERT_TRUE(warteBis([&] { return eingabe->zeichen(0x09) == "v"; }));
    const std::pair<std::uint16_t, std::string> faelle[] = {{0x00, "a"}, {0x12, "1"}, {0x2C, "/"}, {0x31, " "},
                                                           {0x35, "\x1b"}, {0x7B, ""}};
    for (const auto& [code, text] : faelle) EXPECT_EQ(eingabe->zeichen(code), text) << code;
}

TEST_F(X11EingabeTest, TasteAnEinFensterDahinter) {
    Probefenster hinten("Hinten", 100, 100, 400, 300);
    bereit(hinten);
    Probefenster vorn("Vorn", 300, 200, 400, 300);
    bereit(vorn);
    eingabe->taste(0x09, flagge::befehl | flagge::umschalt, hinten.pid());
    EXPECT_TRUE(warteBis([&] { return hinten.hat(tastenZeile(qtTasteV, qtControl | qtShift)); }));
    EXPECT_EQ(eingabe->letzterWeg(), "gesendet");
    EXPECT_FALSE(vorn.hat(tastenZeile(qtTasteV, qtControl | qtShift)));
    EXPECT_EQ(x->aktivesFenster(), vorn.fensterId());
}

TEST_F(X11EingabeTest, ZeigerMausUndLeerlauf) {
    Probefenster p("Maus Probe", 200, 150, 400, 300);
    bereit(p);
    auto f = *x->fensterMit(p.fensterId());
    Punkt ziel{f.rahmen.x + 50, f.rahmen.y + 60};
    eingabe->bewegeZeiger(ziel);
    EXPECT_TRUE(warteBis([&] { return eingabe->zeiger() == ziel; }));
    eingabe->maus(Maustaste::links, true, ziel);
    eingabe->maus(Maustaste::links, false, ziel);
    EXPECT_TRUE(warteBis([&] {
        for (const auto& z : p.zeilen())
            if (z.rfind("maus 1 ", 0) == 0) return true;
        return false;
    }));
    // The pointer's rest grows while nothing happens, and falls back when it moves.
    double vorher = eingabe->zeigerRuhe();
    ASSERT_TRUE(warteBis([&] { return eingabe->zeigerRuhe() > vorher + 0.2; }));
    double lang = eingabe->zeigerRuhe();
    eingabe->bewegeZeiger({ziel.x + 5, ziel.y});
    eingabe->maus(Maustaste::links, false, {ziel.x + 5, ziel.y});
    EXPECT_TRUE(warteBis([&] { return eingabe->zeigerRuhe() < lang; }));
}

TEST_F(X11EingabeTest, GehalteneModifikatoren) {
    // A second client holds Shift and Alt as the user would.
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    auto halte = [&](std::uint8_t art, std::uint8_t keycode) {
        xcb_test_fake_input(c, art, keycode, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_flush(c);
    };
    constexpr std::uint8_t shiftL = 50, altL = 64;  // evdev positions of the left Shift and Alt
    halte(XCB_KEY_PRESS, shiftL);
    halte(XCB_KEY_PRESS, altL);
    EXPECT_TRUE(warteBis([&] { return eingabe->gehalteneFlaggen() == (flagge::umschalt | flagge::option); }));
    halte(XCB_KEY_RELEASE, altL);
    halte(XCB_KEY_RELEASE, shiftL);
    EXPECT_TRUE(warteBis([&] { return eingabe->gehalteneFlaggen() == 0; }));
    xcb_disconnect(c);
}

// The pointer's rest comes from its own motion: keys leave it alone; a mouse button
// held by the user is seen.
TEST_F(X11EingabeTest, ZeigerRuheUndGehalteneMaustaste) {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    auto nutzer = [&](std::uint8_t art, std::uint8_t detail, std::int16_t x = 0, std::int16_t y = 0) {
        xcb_window_t wurzel = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
        xcb_test_fake_input(c, art, detail, XCB_CURRENT_TIME, art == XCB_MOTION_NOTIFY ? wurzel : XCB_NONE, x, y, 0);
        xcb_flush(c);
    };
    nutzer(XCB_MOTION_NOTIFY, 0, 700, 500);
    ASSERT_TRUE(warteBis([&] { return eingabe->zeigerRuhe() < 0.2; })) << "motion sets the rest back";
    ASSERT_TRUE(warteBis([&] { return eingabe->zeigerRuhe() > 0.4; }));
    constexpr std::uint8_t tasteA = 38;
    nutzer(XCB_KEY_PRESS, tasteA);
    nutzer(XCB_KEY_RELEASE, tasteA);
    x->gleicheAb(1);
    EXPECT_GT(eingabe->zeigerRuhe(), 0.4) << "a key is no pointer motion";
    nutzer(XCB_MOTION_NOTIFY, 0, 720, 510);
    EXPECT_TRUE(warteBis([&] { return eingabe->zeigerRuhe() < 0.2; }));

    EXPECT_FALSE(eingabe->maustasteGehalten());
    nutzer(XCB_BUTTON_PRESS, 1);
    EXPECT_TRUE(warteBis([&] { return eingabe->maustasteGehalten(); }));
    nutzer(XCB_BUTTON_RELEASE, 1);
    EXPECT_TRUE(warteBis([&] { return !eingabe->maustasteGehalten(); }));
    xcb_disconnect(c);
}

}  // namespace
}  // namespace klebwerk::x11
