// Global hot keys and the event tap of the x11 backend, driven through XTest as a
// user would, against the project's own window.

#include <gtest/gtest.h>

#include <QProcess>
#include <xcb/xtest.h>

#include "desktop/x11_hilfe.h"
#include "platform/x11/x11_abgriff.h"
#include "platform/x11/x11_eingabe.h"
#include "platform/x11/x11_tastenkuerzel.h"

namespace klebwerk::x11 {
namespace {

using test::Probefenster;
using test::warteBis;

constexpr std::uint16_t codeS = 0x01, codeD = 0x02, codeA = 0x00, codeEscape = 0x35;

class KuerzelAbgriffTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!test::hatAnzeige()) GTEST_SKIP() << "no display";
        x = std::make_unique<XVerbindung>();
        ASSERT_TRUE(x->verbunden());
        tastatur = std::make_unique<XTastatur>(*x);
        eingabe = std::make_unique<X11Eingabe>(*x, *tastatur);
        kuerzel = std::make_unique<X11Tastenkuerzel>(*x, *tastatur, schleife);
        abgriff = std::make_unique<X11Abgriff>(*x, *tastatur, schleife);
    }
    void TearDown() override {
        abgriff.reset();
        kuerzel.reset();
        eingabe.reset();
        tastatur.reset();
        x.reset();
    }
    bool warte(const std::function<bool()>& b) {
        return warteBis([&] {
            schleife.abarbeiten();
            return b();
        });
    }
    void bereit(Probefenster& p) {
        ASSERT_TRUE(warteBis([&] { return p.fensterId() && x->fensterMit(p.fensterId()); }));
        x->aktiviereFenster(p.fensterId());
        ASSERT_TRUE(warteBis([&] { return x->aktivesFenster() == p.fensterId() && p.hat("fokus"); }));
    }
    test::TestSchleife schleife;
    std::unique_ptr<XVerbindung> x;
    std::unique_ptr<XTastatur> tastatur;
    std::unique_ptr<X11Eingabe> eingabe;
    std::unique_ptr<X11Tastenkuerzel> kuerzel;
    std::unique_ptr<X11Abgriff> abgriff;
};

TEST_F(KuerzelAbgriffTest, KuerzelFeuertEinmalUndBeiBelegt) {
    std::vector<std::uint32_t> gedrueckt;
    kuerzel->beiDruck([&](std::uint32_t id) { gedrueckt.push_back(id); });
    ASSERT_EQ(kuerzel->registriere(1, codeS, carbon::control | carbon::option), 0);
    eingabe->taste(codeS, flagge::control | flagge::option, std::nullopt);
    EXPECT_TRUE(warte([&] { return gedrueckt.size() == 1; }));
    // With Caps Lock on it still fires.
    eingabe->taste(0x39, 0, std::nullopt);
    eingabe->taste(codeS, flagge::control | flagge::option, std::nullopt);
    EXPECT_TRUE(warte([&] { return gedrueckt.size() == 2; }));
    eingabe->taste(0x39, 0, std::nullopt);
    EXPECT_EQ(gedrueckt, (std::vector<std::uint32_t>{1, 1}));

    // Another client holds ⌃⌥D: the registration fails with a status, nothing ends.
    xcb_connection_t* anderer = xcb_connect(nullptr, nullptr);
    xcb_window_t wurzel = xcb_setup_roots_iterator(xcb_get_setup(anderer)).data->root;
    auto d = x->frage<int>([&] { return int(tastatur->tasteFuerCode(codeD)->keycode); }, 1).value();
    free(xcb_request_check(anderer, xcb_grab_key_checked(anderer, 1, wurzel, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1,
                                                         static_cast<xcb_keycode_t>(d), XCB_GRAB_MODE_ASYNC,
                                                         XCB_GRAB_MODE_ASYNC)));
    EXPECT_EQ(kuerzel->registriere(2, codeD, carbon::control | carbon::option), X11Tastenkuerzel::vergeben);
    xcb_disconnect(anderer);
    EXPECT_TRUE(x->verbunden());
    // Free again: it registers.
    EXPECT_TRUE(warteBis([&] { return kuerzel->registriere(2, codeD, carbon::control | carbon::option) == 0; }));

    kuerzel->entferne(1);
    eingabe->taste(codeD, flagge::control | flagge::option, std::nullopt);
    EXPECT_TRUE(warte([&] { return gedrueckt.size() == 3; }));
    EXPECT_EQ(gedrueckt.back(), 2u);
}

TEST_F(KuerzelAbgriffTest, KuerzelFolgtDerBelegung) {
    std::vector<std::uint32_t> gedrueckt;
    kuerzel->beiDruck([&](std::uint32_t id) { gedrueckt.push_back(id); });
    ASSERT_EQ(kuerzel->registriere(1, codeS, carbon::control | carbon::option), 0);
    ASSERT_EQ(QProcess::execute("setxkbmap", {"-layout", "us", "-variant", "dvorak"}), 0);
    struct Zurueck {
        ~Zurueck() { QProcess::execute("setxkbmap", {"-layout", "us"}); }
    } zurueck;
    ASSERT_TRUE(warteBis([&] { return eingabe->zeichen(0x09) == "k"; }));
    x->gleicheAb(1);
    // The key that types "s" on Dvorak.
    eingabe->taste(codeS, flagge::control | flagge::option, std::nullopt);
    EXPECT_TRUE(warte([&] { return gedrueckt.size() == 1; }));
}

TEST_F(KuerzelAbgriffTest, WahlSchlucktKlickUndEscapeAndereTastenKommenDurch) {
    Probefenster p("Abgriff Probe", 150, 150, 400, 300);
    bereit(p);
    // The pointer starts away from the window, so that the move below is a move
    // (an earlier run may have left it there).
    eingabe->bewegeZeiger({5, 5});
    ASSERT_TRUE(warteBis([&] { return eingabe->zeiger() == Punkt{5, 5}; }));
    std::vector<AbgriffEreignis> gesehen;
    AbgriffRegel regel;
    regel.linkeTaste = AbgriffRegel::Umgang::schlucken;
    regel.geschluckteTasten = {codeEscape};
    Marke tap = abgriff->starte(regel, [&](const AbgriffEreignis& e) { gesehen.push_back(e); });
    ASSERT_TRUE(tap.aktiv());
    auto hat = [&](EreignisArt art, bool geschluckt, std::uint16_t code = 0xFFFF) {
        for (const auto& e : gesehen)
            if (e.art == art && e.geschluckt == geschluckt && (code == 0xFFFF || e.code == code)) return true;
        return false;
    };
    auto f = *x->fensterMit(p.fensterId());
    Punkt mitte = f.rahmen.mitte();
    eingabe->bewegeZeiger(mitte);
    EXPECT_TRUE(warte([&] { return hat(EreignisArt::mausBewegt, false); })) << "motion is seen and passes";
    eingabe->maus(Maustaste::links, true, mitte);
    eingabe->maus(Maustaste::links, false, mitte);
    EXPECT_TRUE(warte([&] { return hat(EreignisArt::mausRunter, true) && hat(EreignisArt::mausHoch, true); }));
    auto runter = std::find_if(gesehen.begin(), gesehen.end(), [](auto& e) { return e.art == EreignisArt::mausRunter; });
    EXPECT_EQ(runter->wo, mitte);

    eingabe->taste(codeEscape, 0, std::nullopt);
    EXPECT_TRUE(warte([&] { return hat(EreignisArt::tasteRunter, true, codeEscape); }));
    eingabe->taste(codeA, 0, std::nullopt);
    EXPECT_TRUE(warte([&] { return hat(EreignisArt::tasteRunter, false, codeA); }));
    EXPECT_EQ(std::count_if(gesehen.begin(), gesehen.end(),
                            [](auto& e) { return e.art == EreignisArt::tasteRunter && e.code == codeEscape; }),
              1);
    EXPECT_TRUE(warteBis([&] { return p.hat("taste 65 0"); }));  // "a" reached the window
    tap.aufheben();
    x->gleicheAb(1);
    // The window saw neither the click nor Escape.
    for (const auto& z : p.zeilen()) {
        EXPECT_NE(z.rfind("maus", 0), 0u) << z;
        EXPECT_NE(z, "taste 16777216 0") << "Escape reached the window";
    }
    // After the tap a click reaches the window again.
    eingabe->maus(Maustaste::links, true, mitte);
    eingabe->maus(Maustaste::links, false, mitte);
    EXPECT_TRUE(warteBis([&] {
        for (const auto& z : p.zeilen())
            if (z.rfind("maus 1 ", 0) == 0) return true;
        return false;
    }));
}

TEST_F(KuerzelAbgriffTest, NurTastenHoertOptionOhneWegzunehmen) {
    Probefenster p("Lauschen", 150, 150, 400, 300);
    bereit(p);
    std::vector<AbgriffEreignis> gesehen;
    AbgriffRegel regel;
    regel.nurTasten = true;
    Marke tap = abgriff->starte(regel, [&](const AbgriffEreignis& e) { gesehen.push_back(e); });
    ASSERT_TRUE(tap.aktiv());
    eingabe->taste(0x3A, 0, std::nullopt);  // ⌥ alone: press and release
    EXPECT_TRUE(warte([&] {
        bool an = false, aus = false;
        for (const auto& e : gesehen) {
            if (e.art != EreignisArt::flaggenGeaendert) continue;
            if ((e.flaggen & 0x1E0000) == flagge::option) an = true;
            else if (an && (e.flaggen & 0x1E0000) == 0) aus = true;
        }
        return an && aus;
    }));
    // The window got the key as well.
    EXPECT_TRUE(warteBis([&] { return p.hat("taste 16777251 134217728"); }));
    for (const auto& e : gesehen) EXPECT_FALSE(e.geschluckt);
}

TEST_F(KuerzelAbgriffTest, AufnahmeNimmtAlleTastenAberKeinenKlick) {
    Probefenster p("Aufnahme", 150, 150, 400, 300);
    bereit(p);
    std::vector<AbgriffEreignis> gesehen;
    AbgriffRegel regel;  // shortcut recording: every key, the mouse passes
    for (std::uint16_t code = 0; code < 0x80; ++code) regel.geschluckteTasten.insert(code);
    Marke tap = abgriff->starte(regel, [&](const AbgriffEreignis& e) { gesehen.push_back(e); });
    ASSERT_TRUE(tap.aktiv());
    eingabe->taste(codeA, flagge::control | flagge::umschalt, std::nullopt);
    EXPECT_TRUE(warte([&] {
        for (const auto& e : gesehen)
            if (e.art == EreignisArt::tasteRunter && e.code == codeA && e.geschluckt &&
                e.flaggen == (flagge::control | flagge::umschalt))
                return true;
        return false;
    })) << [&] {
        std::string t;
        for (const auto& e : gesehen)
            t += std::to_string(int(e.art)) + " " + std::to_string(e.code) + " " + std::to_string(e.flaggen) + " " +
                 std::to_string(e.geschluckt) + "\n";
        return t;
    }();
    Punkt mitte = x->fensterMit(p.fensterId())->rahmen.mitte();
    eingabe->maus(Maustaste::links, true, mitte);
    eingabe->maus(Maustaste::links, false, mitte);
    EXPECT_TRUE(warte([&] {
        for (const auto& e : gesehen)
            if (e.art == EreignisArt::mausRunter && !e.geschluckt) return true;
        return false;
    }));
    // The click reached the window; the key did not.
    EXPECT_TRUE(warteBis([&] {
        for (const auto& z : p.zeilen())
            if (z.rfind("maus 1 ", 0) == 0) return true;
        return false;
    }));
    for (const auto& z : p.zeilen()) EXPECT_NE(z.rfind("taste 65 ", 0), 0u) << z;
}

TEST_F(KuerzelAbgriffTest, BelegteLinkeTasteLaesstDenAbgriffScheitern) {
    // Another client holds the first button on the root window.
    xcb_connection_t* anderer = xcb_connect(nullptr, nullptr);
    xcb_window_t wurzel = xcb_setup_roots_iterator(xcb_get_setup(anderer)).data->root;
    xcb_generic_error_t* f = xcb_request_check(
        anderer, xcb_grab_button_checked(anderer, 0, wurzel, XCB_EVENT_MASK_BUTTON_PRESS, XCB_GRAB_MODE_ASYNC,
                                         XCB_GRAB_MODE_ASYNC, XCB_NONE, XCB_NONE, XCB_BUTTON_INDEX_1, 0));
    ASSERT_EQ(f, nullptr);
    AbgriffRegel regel;
    regel.linkeTaste = AbgriffRegel::Umgang::schlucken;
    regel.geschluckteTasten = {codeEscape};
    Marke tap = abgriff->starte(regel, [](const AbgriffEreignis&) {});
    EXPECT_FALSE(tap.aktiv());
    xcb_disconnect(anderer);
    // Once free, it can be set up; the failed attempt left no grab behind.
    EXPECT_TRUE(warteBis([&] {
        Marke m = abgriff->starte(regel, [](const AbgriffEreignis&) {});
        return m.aktiv();
    }));
}

}  // namespace
}  // namespace klebwerk::x11
