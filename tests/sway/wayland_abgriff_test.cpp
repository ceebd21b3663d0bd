#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include <xkbcommon/xkbcommon-keysyms.h>

#include "desktop/x11_hilfe.h"
#include "platform/eingabe.h"
#include "platform/wayland/sway_fenster.h"
#include "platform/wayland/virtuelle_tastatur.h"
#include "platform/wayland/virtueller_zeiger.h"
#include "platform/wayland/wayland_abgriff.h"
#include "platform/wayland/wayland_eingabe.h"

namespace klebwerk {

void PrintTo(const Punkt& p, std::ostream* aus) { *aus << "(" << p.x << ", " << p.y << ")"; }

namespace wayland {
namespace {

using test::Probefenster;
using test::TestSchleife;
using test::warteBis;

constexpr int qtEscape = 0x01000000;

AbgriffRegel waehlen() {
    AbgriffRegel r;
    r.linkeTaste = AbgriffRegel::Umgang::schlucken;
    r.geschluckteTasten = {53};
    return r;
}

AbgriffRegel aufnehmen() {
    AbgriffRegel r;
    for (std::uint16_t code = 0; code < 128; ++code) r.geschluckteTasten.insert(code);
    return r;
}

// A Qt window filling the output, focused, under a pointer and a keyboard of the
// test's own on the seat (a headless sway has no other input devices).
class WaylandAbgriffTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto ipc = SwayIpc::ausUmgebung();
        if (!ipc || !std::getenv("WAYLAND_DISPLAY")) GTEST_SKIP() << "no sway session";
        ipc_.emplace(*ipc);
        dienst_.emplace(*ipc);
        zeiger_ = std::make_unique<VirtuellerZeiger>();
        ASSERT_EQ(zeiger_->stoerung(), "");
        tastatur_ = std::make_unique<VirtuelleTastatur>(std::string{}, "us");
        ASSERT_EQ(tastatur_->stoerung(), "");

        // Alone on the output, so that it fills it: the window of the test before may
        // still be going away.
        fenster_ = std::make_unique<Probefenster>("Klickziel", 0, 0, 400, 300);
        ASSERT_TRUE(warteBis([&] {
            const auto alle = dienst_->lies().fenster;
            if (alle.size() != 1 || alle.front().pid != fenster_->pid()) return false;
            conId_ = alle.front().conId;
            rahmen_ = alle.front().rahmen;
            return true;
        }));
        std::string fehler;
        ASSERT_TRUE(dienst_->aktiviere(conId_, fehler)) << fehler;
        ASSERT_TRUE(warteBis([&] { return fenster_->hat("fokus"); }));

        abgriff_ = std::make_unique<WaylandAbgriff>(schleife_);
        ASSERT_EQ(abgriff_->stoerung(), "");
    }

    void TearDown() override {
        if (verschoben_) ipc_->anfrage(IpcArt::befehl, "output * position 0 0");
    }

    // Puts the output at another place of the layout; the tap and the pointer are made
    // anew, so that they know it from the start.
    void verschiebeAusgabe(int x, int y) {
        abgriff_.reset();
        verschoben_ = true;
        auto antwort = ipc_->anfrage(IpcArt::befehl, "output * position " + std::to_string(x) + " " + std::to_string(y));
        ASSERT_TRUE(antwort.gelungen()) << antwort.fehler;
        ASSERT_NE(antwort.daten->find("\"success\": true"), std::string::npos) << *antwort.daten;
        ASSERT_TRUE(warteBis([&] {
            for (const auto& f : dienst_->lies().fenster)
                if (f.conId == conId_ && f.rahmen.x >= x && f.rahmen.y >= y) rahmen_ = f.rahmen;
            return rahmen_.x >= x && rahmen_.y >= y;
        }));
        zeiger_ = std::make_unique<VirtuellerZeiger>();
        ASSERT_EQ(zeiger_->stoerung(), "");
        abgriff_ = std::make_unique<WaylandAbgriff>(schleife_);
        ASSERT_EQ(abgriff_->stoerung(), "");
    }

    // A point of the window, in global coordinates: inside the size it asked for, which
    // its surface has from the start, before it takes the size the tiling gives it.
    Punkt imFenster(double x, double y) const { return {rahmen_.x + x, rahmen_.y + y}; }

    Marke starte(const AbgriffRegel& regel) {
        return abgriff_->starte(regel, [this](const AbgriffEreignis& e) { gesehen_.push_back(e); });
    }

    // The overlay is up: the compositor shows it and it has the keyboard.
    bool ueberdeckt() {
        return warteBis([&] { return abgriff_->gezeigteFlaechen() == 1 && abgriff_->hatTastatur(); });
    }

    void klicke(Punkt wo) {
        std::string fehler;
        ASSERT_TRUE(zeiger_->bewege(wo, fehler)) << fehler;
        ASSERT_TRUE(zeiger_->taste(true, true, fehler)) << fehler;
        ASSERT_TRUE(zeiger_->taste(true, false, fehler)) << fehler;
    }

    void druecke(std::uint32_t keysym, std::uint32_t mods = 0) {
        std::string fehler;
        ASSERT_TRUE(tastatur_->druecke(keysym, mods, fehler)) << fehler;
    }

    // Waits, running the handlers, until the tap has reported an event of that kind
    // (from the `ab`th on): its place among the events seen.
    std::optional<std::size_t> warteAuf(EreignisArt art, std::size_t ab = 0) {
        std::optional<std::size_t> treffer;
        warteBis([&] {
            schleife_.abarbeiten();
            for (std::size_t i = ab; i < gesehen_.size() && !treffer; ++i)
                if (gesehen_[i].art == art) treffer = i;
            return treffer.has_value();
        });
        return treffer;
    }

    int mausZeilen() {
        int n = 0;
        for (const auto& z : fenster_->zeilen())
            if (z.rfind("maus 1 ", 0) == 0) ++n;
        return n;
    }

    std::optional<SwayIpc> ipc_;
    std::optional<SwayFensterdienst> dienst_;
    bool verschoben_ = false;
    std::unique_ptr<VirtuellerZeiger> zeiger_;
    std::unique_ptr<VirtuelleTastatur> tastatur_;
    std::unique_ptr<Probefenster> fenster_;
    std::int64_t conId_ = 0;
    Rechteck rahmen_;
    TestSchleife schleife_;
    std::unique_ptr<WaylandAbgriff> abgriff_;
    std::vector<AbgriffEreignis> gesehen_;
};

TEST_F(WaylandAbgriffTest, KlickGehtAnDenAbgriffAnSeinerStelleUndErstNachDemAufhebenAnsFenster) {
    // An output away from the layout's origin: places are global, not the overlay's own.
    verschiebeAusgabe(100, 50);
    // The pointer rests where the click will be before the overlay comes: the press
    // must reach the overlay without any motion in between.
    const Punkt stelle = imFenster(117, 83);
    std::string fehler;
    ASSERT_TRUE(zeiger_->bewege(stelle, fehler)) << fehler;

    Marke tap = starte(waehlen());
    ASSERT_TRUE(tap.aktiv());
    ASSERT_TRUE(ueberdeckt());
    ASSERT_TRUE(zeiger_->taste(true, true, fehler)) << fehler;
    ASSERT_TRUE(zeiger_->taste(true, false, fehler)) << fehler;

    const auto runter = warteAuf(EreignisArt::mausRunter);
    const auto hoch = warteAuf(EreignisArt::mausHoch);
    ASSERT_TRUE(runter && hoch);
    EXPECT_EQ(gesehen_[*runter].wo, stelle);
    EXPECT_EQ(gesehen_[*hoch].wo, stelle);
    EXPECT_TRUE(gesehen_[*runter].geschluckt);
    // Motion over the overlay is reported at its place.
    const std::size_t vorher = gesehen_.size();
    const Punkt weiter = imFenster(300.5, 20.25);
    ASSERT_TRUE(zeiger_->bewege(weiter, fehler)) << fehler;
    const auto bewegt = warteAuf(EreignisArt::mausBewegt, vorher);
    ASSERT_TRUE(bewegt);
    EXPECT_EQ(gesehen_[*bewegt].wo, weiter);
    EXPECT_EQ(abgriff_->zeiger(), weiter);

    tap.aufheben();
    ASSERT_TRUE(warteBis([&] { return abgriff_->gezeigteFlaechen() == 0; }));
    const std::size_t nachDemAufheben = gesehen_.size();
    klicke(stelle);
    // The window sees this one click only: the earlier one never reached it.
    ASSERT_TRUE(warteBis([&] { return mausZeilen() >= 1; }));
    EXPECT_EQ(mausZeilen(), 1);
    schleife_.abarbeiten();
    EXPECT_EQ(gesehen_.size(), nachDemAufheben);
}

TEST_F(WaylandAbgriffTest, TastenKommenMitCodeUndFlaggenBeimAbgriffAnUndNichtImFenster) {
    Marke tap = starte(waehlen());
    ASSERT_TRUE(ueberdeckt());
    struct Fall {
        std::uint32_t keysym;
        std::uint32_t mods;
        std::uint16_t code;
        std::uint64_t flaggen;
    };
    const Fall faelle[] = {
        {XKB_KEY_Escape, 0, 53, 0},
        {XKB_KEY_a, VirtuelleTastatur::umschalt, 0x00, flagge::umschalt},
        {XKB_KEY_v, VirtuelleTastatur::control, 0x09, flagge::control},
    };
    for (const Fall& f : faelle) {
        const std::size_t ab = gesehen_.size();
        druecke(f.keysym, f.mods);
        const auto runter = warteAuf(EreignisArt::tasteRunter, ab);
        const auto hoch = warteAuf(EreignisArt::tasteHoch, ab);
        ASSERT_TRUE(runter && hoch) << f.keysym;
        EXPECT_EQ(gesehen_[*runter].code, f.code) << f.keysym;
        EXPECT_EQ(gesehen_[*runter].flaggen, f.flaggen) << f.keysym;
        EXPECT_TRUE(gesehen_[*runter].geschluckt) << f.keysym;
        if (f.flaggen) {
            // The modifier is reported held before the key, and let go after it.
            const auto gehalten = warteAuf(EreignisArt::flaggenGeaendert, ab);
            const auto losgelassen = gehalten ? warteAuf(EreignisArt::flaggenGeaendert, *gehalten + 1) : std::nullopt;
            ASSERT_TRUE(gehalten && losgelassen) << f.keysym;
            EXPECT_EQ(gesehen_[*gehalten].flaggen, f.flaggen) << f.keysym;
            EXPECT_LT(*gehalten, *runter) << f.keysym;
            EXPECT_EQ(gesehen_[*losgelassen].flaggen, 0u) << f.keysym;
            EXPECT_GT(*losgelassen, *hoch) << f.keysym;
        }
    }
    EXPECT_FALSE(fenster_->hat("taste " + std::to_string(qtEscape) + " 0"));
}

TEST_F(WaylandAbgriffTest, BeimAufnehmenGehenTastenAnDenAbgriffUndKlicksAnsFenster) {
    Marke tap = starte(aufnehmen());
    ASSERT_TRUE(tap.aktiv());
    ASSERT_TRUE(ueberdeckt());
    klicke(imFenster(200, 150));
    ASSERT_TRUE(warteBis([&] { return mausZeilen() == 1; }));
    druecke(XKB_KEY_Escape);
    const auto runter = warteAuf(EreignisArt::tasteRunter);
    ASSERT_TRUE(runter);
    EXPECT_EQ(gesehen_[*runter].code, 53);
    for (const auto& e : gesehen_) EXPECT_NE(e.art, EreignisArt::mausRunter);
}

TEST_F(WaylandAbgriffTest, EinAbgriffDerNurZuhoertIstNichtMoeglich) {
    AbgriffRegel nurTasten;
    nurTasten.nurTasten = true;
    AbgriffRegel nimmtNichts;
    for (const AbgriffRegel& regel : {nurTasten, nimmtNichts}) {
        Marke tap = starte(regel);
        EXPECT_FALSE(tap.aktiv());
    }
    // Nothing was laid over the desktop: a click still reaches the window.
    klicke(imFenster(200, 150));
    EXPECT_TRUE(warteBis([&] { return mausZeilen() == 1; })) << mausZeilen() << " clicks in the window";
    EXPECT_EQ(abgriff_->gezeigteFlaechen(), 0);
}

TEST_F(WaylandAbgriffTest, DieEingabeKlicktMitDemVirtuellenZeigerUndKenntDenZeigerUeberDemAbgriff) {
    WaylandEingabe eingabe(*tastatur_, *dienst_, zeiger_.get(), abgriff_.get());
    eingabe.maus(Maustaste::links, true, imFenster(300, 200));
    eingabe.maus(Maustaste::links, false, imFenster(300, 200));
    ASSERT_TRUE(warteBis([&] { return mausZeilen() == 1; }));

    Marke tap = starte(waehlen());
    ASSERT_TRUE(ueberdeckt());
    eingabe.bewegeZeiger(imFenster(250, 150));
    ASSERT_TRUE(warteAuf(EreignisArt::mausBewegt));
    EXPECT_EQ(eingabe.zeiger(), imFenster(250, 150));
}

}  // namespace
}  // namespace wayland
}  // namespace klebwerk
