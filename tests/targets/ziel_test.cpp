#include <gtest/gtest.h>

#include "basis/prozesswerte.h"
#include "app/steuerung.h"
#include "platform/sim/sim_desktop.h"
#include "support/sim_szenario.h"
#include "support/temp_ordner.h"

namespace klebwerk {
namespace {

class ZielTest : public ::testing::Test {
protected:
    std::filesystem::path ordner = test::neuerTempOrdner("ziel");
    sim::SimDesktop d;
    Plattform p = d.plattform();
    Einstellungen ud{(ordner / "einstellungen.json").string()};
    Steuerung s{p, ud};
    sim::SimKnoten& app = test::starteApp(d, 30, "Schreiber", "de.beispiel.schreiber");

    void SetUp() override { setzeDatenOrdner(ordner.string()); }
    void TearDown() override { std::filesystem::remove_all(ordner); }

    std::shared_ptr<Ziel> neues(const std::string& titel) {
        auto& f = d.oeffneFenster(30, titel, {0, 0, 100, 100});
        return std::make_shared<Ziel>(s.ax, d.arbeitsplatz, f.element(), 30);
    }
};

TEST_F(ZielTest, LiestNameUndTitelUndLeitetNummerGueltigUndAnzeigeAb) {
    auto& f = d.oeffneFenster(30, "Brief", {0, 0, 100, 100});
    Ziel z(s.ax, d.arbeitsplatz, f.element(), 30);
    EXPECT_EQ(z.appName, "Schreiber");
    EXPECT_EQ(z.titel, "Brief");
    EXPECT_EQ(z.app, s.ax.anwendung(30));
    EXPECT_EQ(z.anzeige(), "Schreiber \u2013 Brief");
    EXPECT_EQ(z.nummer(), f.nummer);
    EXPECT_TRUE(z.gueltig());
    EXPECT_EQ(z.platz, 0);
    EXPECT_FALSE(z.ki);
    EXPECT_FALSE(z.perFeld);
    EXPECT_FALSE(z.beobachter.aktiv());
    f.nummer = 0;
    EXPECT_EQ(z.nummer(), 0u);
    d.schliesseFenster(d.fensterliste.liste.front().nummer);
    EXPECT_FALSE(z.gueltig());
}

TEST_F(ZielTest, UnlesbarerTitelUndVerschwundenerProzess) {
    auto& f = d.oeffneFenster(30, "x", {0, 0, 100, 100});
    f.attribute.erase("AXTitle");
    Ziel ohneTitel(s.ax, d.arbeitsplatz, f.element(), 30);
    EXPECT_EQ(ohneTitel.titel, "");
    EXPECT_EQ(ohneTitel.anzeige(), "Schreiber");
    Ziel fremd(s.ax, d.arbeitsplatz, f.element(), 999);
    EXPECT_EQ(fremd.appName, "App");
}

TEST_F(ZielTest, FreierPlatzFuelltLueckenUndEinBelegterWunschplatzGiltNicht) {
    EXPECT_EQ(s.freierPlatz(), 1);
    auto a = neues("a"), b = neues("b"), c = neues("c");
    EXPECT_TRUE(s.verbinde(a, std::nullopt));
    EXPECT_TRUE(s.verbinde(b, std::nullopt));
    EXPECT_TRUE(s.verbinde(c, std::nullopt));
    EXPECT_EQ((std::vector<long>{a->platz, b->platz, c->platz}), (std::vector<long>{1, 2, 3}));
    s.verbunden.erase(s.verbunden.begin() + 1);  // the target in slot 2 leaves
    auto neu = neues("neu");
    EXPECT_TRUE(s.verbinde(neu, std::nullopt));
    EXPECT_EQ(neu->platz, 2);
    EXPECT_EQ(s.verbunden.back(), neu);  // appended at the end
    EXPECT_EQ(s.platzFuer(3), 4);        // slot 3 is held
    EXPECT_EQ(s.platzFuer(7), 7);
    EXPECT_EQ(s.platzFuer(0), 4);
    EXPECT_EQ(s.platzFuer(-2), 4);
}

TEST_F(ZielTest, EinSchonVerbundenesFensterWirdNichtNochmalVerbunden) {
    auto a = neues("a");
    ASSERT_TRUE(s.verbinde(a, std::nullopt));
    auto zweiter = std::make_shared<Ziel>(s.ax, d.arbeitsplatz, a->fenster, 30);
    EXPECT_FALSE(s.verbinde(zweiter, 5));
    EXPECT_EQ(s.verbunden.size(), 1u);
    EXPECT_EQ(zweiter->platz, 0);
    EXPECT_EQ(s.verbundenMit(a->fenster), a);
}

}  // namespace
}  // namespace klebwerk
