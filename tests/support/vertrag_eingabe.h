#pragma once

// The contract both input backends keep: synthetic keys reach a window with exactly
// the modifiers they were sent with, never combined with those the user holds, and
// the choosing tap takes the left click and Escape and nothing else. One test body;
// each backend instantiates it with its factory.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "delivery/tastendruck.h"
#include "input/abgriff_regel.h"
#include "platform/eingabe.h"
#include "platform/ereignisabgriff.h"
#include "support/temp_heim.h"

namespace klebwerk::test {

// Counts how often the user's modifiers were looked at, so that a test can wait for
// a number of looks instead of a span of time.
class ZaehlendeEingabe : public Eingabe {
public:
    explicit ZaehlendeEingabe(Eingabe& echt) : echt_(echt) {}
    int blicke = 0;
    void taste(std::uint16_t c, std::uint64_t f, std::optional<int> p) override { echt_.taste(c, f, p); }
    void maus(Maustaste t, bool r, Punkt w) override { echt_.maus(t, r, w); }
    void bewegeZeiger(Punkt w) override { echt_.bewegeZeiger(w); }
    Punkt zeiger() override { return echt_.zeiger(); }
    double zeigerRuhe() override { return echt_.zeigerRuhe(); }
    bool maustasteGehalten() override { return echt_.maustasteGehalten(); }
    std::uint64_t gehalteneFlaggen() override {
        ++blicke;
        return echt_.gehalteneFlaggen();
    }
    std::uint64_t eigeneFlaggen(std::uint64_t f) override { return echt_.eigeneFlaggen(f); }
    std::string zeichen(std::uint16_t c) override { return echt_.zeichen(c); }

private:
    Eingabe& echt_;
};

// A desktop with one window in front that reports what reaches it, behind one backend.
class EingabeDesktop {
public:
    virtual ~EingabeDesktop() = default;
    // The window is up, in front and has the keyboard focus.
    virtual bool bereit() = 0;
    virtual Eingabe& eingabe() = 0;
    virtual Ereignisabgriff& abgriff() = 0;
    // Work after a delay on the test's main lane.
    virtual Planer planer() = 0;
    // The user presses these modifier keys and keeps them down (⌘ is the Super key
    // where there is no ⌘ key); `lasseLos` lets go of all of them.
    virtual void halte(std::uint64_t flaggen) = 0;
    virtual void lasseLos() = 0;
    // The user moves the pointer (a real move of the device).
    virtual void bewege(Punkt wo) = 0;
    // Keys that reached the window so far: virtual key code and the modifiers the
    // window saw with it, named as `gehalteneFlaggen` names them.
    virtual std::vector<std::pair<std::uint16_t, std::uint64_t>> tasten() = 0;
    // Mouse presses that reached the window: 1 left, 2 right.
    virtual std::vector<int> klicks() = 0;
    virtual Punkt mitte() = 0;
    // Time passes and the main lane works until `bedingung` holds; false when the
    // bound ran out first.
    virtual bool warte(const std::function<bool()>& bedingung) = 0;
};

using EingabeFabrik = std::unique_ptr<EingabeDesktop> (*)();

inline constexpr std::uint16_t codeA = 0;

class VertragEingabe : public ::testing::TestWithParam<EingabeFabrik> {
protected:
    void SetUp() override {
        desktop = GetParam()();
        if (!desktop) GTEST_SKIP() << "backend not available here";
        ASSERT_TRUE(desktop->bereit()) << "the window did not come up in front";
        heim = std::make_unique<TempHeim>();
        zaehler = std::make_unique<ZaehlendeEingabe>(desktop->eingabe());
    }
    void TearDown() override {
        if (desktop) desktop->lasseLos();
    }
    bool angekommen(std::uint16_t code, std::uint64_t flaggen) {
        for (auto [c, f] : desktop->tasten())
            if (c == code && f == flaggen) return true;
        return false;
    }
    std::unique_ptr<EingabeDesktop> desktop;
    std::unique_ptr<TempHeim> heim;
    std::unique_ptr<ZaehlendeEingabe> zaehler;
};

// A held modifier that the key does not press itself waits until the user lets go;
// one that it presses anyway (Control for ⌘V, sent as Ctrl+V) changes nothing.
TEST_P(VertragEingabe, GehalteneModifikatorenVerbindenSichNieMitDerTaste) {
    struct Fall {
        const char* was;
        std::uint64_t gehalten;
        std::uint16_t code;
        std::uint64_t flaggen;
        bool wartet;
    };
    const Fall faelle[] = {
        {"Super (⌘) bei ⌘V", flagge::befehl, tasteV, flagge::befehl, true},
        {"⌥ bei ⌘V", flagge::option, tasteV, flagge::befehl, true},
        {"⇧ bei ⌘V", flagge::umschalt, tasteV, flagge::befehl, true},
        {"⌃ bei ⌘V", flagge::control, tasteV, flagge::befehl, false},
        {"⌃ bei Return", flagge::control, tasteReturn, 0, true},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.was);
        const auto vorher = desktop->tasten().size();
        desktop->halte(f.gehalten);
        ASSERT_TRUE(desktop->warte([&] { return desktop->eingabe().gehalteneFlaggen() == f.gehalten; }));
        bool gesendet = false;
        zaehler->blicke = 0;
        drueckeTaste(*zaehler, desktop->planer(), {f.code, f.flaggen, std::nullopt}, [&] { gesendet = true; });
        if (f.wartet) {
            ASSERT_TRUE(desktop->warte([&] { return zaehler->blicke >= 4 || gesendet; }));
            EXPECT_FALSE(gesendet) << "sent while the user still held the modifier";
            desktop->lasseLos();
        }
        ASSERT_TRUE(desktop->warte([&] { return gesendet; }));
        ASSERT_TRUE(desktop->warte([&] { return desktop->tasten().size() > vorher; }));
        const auto danach = desktop->tasten();
        ASSERT_EQ(danach.size(), vorher + 1) << "one key reached the window";
        EXPECT_EQ(danach.back().first, f.code);
        EXPECT_EQ(danach.back().second, desktop->eingabe().eigeneFlaggen(f.flaggen)) << "the window saw other modifiers";
        desktop->lasseLos();
        ASSERT_TRUE(desktop->warte([&] { return desktop->eingabe().gehalteneFlaggen() == 0; }));
    }
}

TEST_P(VertragEingabe, LaeuftDieFristAbGehtDieTasteEinmalUndWirdProtokolliert) {
    desktop->halte(flagge::umschalt);  // never let go
    ASSERT_TRUE(desktop->warte([&] { return desktop->eingabe().gehalteneFlaggen() == flagge::umschalt; }));
    int gesendet = 0;
    drueckeTaste(*zaehler, desktop->planer(), {tasteV, flagge::befehl, std::nullopt}, [&] { ++gesendet; });
    ASSERT_TRUE(desktop->warte([&] { return gesendet > 0; }));
    EXPECT_EQ(zaehler->blicke, loslassVersuche + 1);
    const std::uint64_t gesehen = desktop->eingabe().eigeneFlaggen(flagge::befehl) | flagge::umschalt;
    EXPECT_TRUE(desktop->warte([&] { return angekommen(tasteV, gesehen); }));
    EXPECT_EQ(desktop->tasten().size(), 1u);
    EXPECT_EQ(gesendet, 1);
    EXPECT_NE(heim->protokoll().find(" Taste 9 gesendet, obwohl noch Umschalttasten gehalten werden\n"),
              std::string::npos);
}

// While choosing, the left click and Escape are taken; the right click, motion and
// every other key reach the window as they do outside the mode.
TEST_P(VertragEingabe, WahlNimmtNurDenLinkenKlickUndEscape) {
    std::vector<AbgriffEreignis> gesehen;
    Marke tap = desktop->abgriff().starte(regelFuer(false, Modus::wahl),
                                          [&](const AbgriffEreignis& e) { gesehen.push_back(e); });
    ASSERT_TRUE(tap.aktiv());
    auto hat = [&](EreignisArt art, bool geschluckt, std::uint16_t code = 0xFFFF) {
        for (const auto& e : gesehen)
            if (e.art == art && e.geschluckt == geschluckt && (code == 0xFFFF || e.code == code)) return true;
        return false;
    };
    const Punkt mitte = desktop->mitte();
    desktop->bewege({mitte.x + 7, mitte.y + 3});
    EXPECT_TRUE(desktop->warte([&] { return hat(EreignisArt::mausBewegt, false); }));

    desktop->eingabe().maus(Maustaste::rechts, true, mitte);
    desktop->eingabe().maus(Maustaste::rechts, false, mitte);
    EXPECT_TRUE(desktop->warte([&] { return hat(EreignisArt::rechtsRunter, false); }));
    EXPECT_TRUE(desktop->warte([&] { return desktop->klicks() == std::vector<int>{2}; }));

    desktop->eingabe().maus(Maustaste::links, true, mitte);
    desktop->eingabe().maus(Maustaste::links, false, mitte);
    ASSERT_TRUE(desktop->warte([&] { return hat(EreignisArt::mausRunter, true) && hat(EreignisArt::mausHoch, true); }));
    for (const auto& e : gesehen)
        if (e.art == EreignisArt::mausRunter) EXPECT_EQ(e.wo, mitte);

    desktop->eingabe().taste(tasteEscape, 0, std::nullopt);
    desktop->eingabe().taste(codeA, 0, std::nullopt);
    EXPECT_TRUE(desktop->warte([&] { return hat(EreignisArt::tasteRunter, true, tasteEscape); }));
    EXPECT_TRUE(desktop->warte([&] { return hat(EreignisArt::tasteRunter, false, codeA) && angekommen(codeA, 0); }));
    tap.aufheben();

    // Once the tap is gone a left click reaches the window: the only one it saw.
    desktop->eingabe().maus(Maustaste::links, true, mitte);
    desktop->eingabe().maus(Maustaste::links, false, mitte);
    EXPECT_TRUE(desktop->warte([&] { return desktop->klicks() == std::vector<int>{2, 1}; }));
    for (auto [code, f] : desktop->tasten()) EXPECT_NE(code, tasteEscape) << "Escape reached the window";
}

}  // namespace klebwerk::test
