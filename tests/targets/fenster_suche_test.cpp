#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "basis/prozesswerte.h"
#include "app/steuerung.h"
#include "platform/sim/sim_desktop.h"
#include "support/sim_szenario.h"
#include "support/temp_ordner.h"
#include "targets/fenster_suche.h"

namespace klebwerk {
namespace {

class FensterSuche : public ::testing::Test {
protected:
    std::filesystem::path ordner = test::neuerTempOrdner("fenster");
    sim::SimDesktop d;
    Plattform p = d.plattform();
    Einstellungen ud{(ordner / "einstellungen.json").string()};
    Steuerung s{p, ud};
    AX& ax = s.ax;

    void SetUp() override {
        setzeDatenOrdner(ordner.string());
        test::starteApp(d, 40, "Chat", "de.beispiel.chat");
        test::starteApp(d, 41, "Browser", "", "/opt/browser/browser");
        d.starteAnwendung(Anwendung{d.arbeitsplatz.pid, kennung, "/usr/bin/klebwerk", "Klebwerk",
                                    Aktivierungsart::zubehoer});
    }
    void TearDown() override { std::filesystem::remove_all(ordner); }
};

TEST_F(FensterSuche, FensterUnterNimmtDasVordersteGewoehnlicheFensterEinesAnderenProzesses) {
    auto& hinten = d.oeffneFenster(40, "hinten", {0, 0, 500, 500});
    auto& vorn = d.oeffneFenster(41, "vorn", {100, 100, 200, 200});
    d.oeffneFenster(d.arbeitsplatz.pid, "Bedienfeld", {120, 120, 50, 50});  // the program's own panel
    d.zeigeFlaeche(7, 25, {0, 0, 1440, 24}, "Menüleiste");                   // another layer
    d.zeigeFlaeche(7, 101, {150, 150, 80, 80}, "Menü");
    EXPECT_EQ(fensterUnter(d.fensterliste, d.arbeitsplatz.pid, {130, 130}),
              (FensterTreffer{41, vorn.nummer, {100, 100, 200, 200}}));
    EXPECT_EQ(fensterUnter(d.fensterliste, d.arbeitsplatz.pid, {160, 160})->nummer, vorn.nummer);
    EXPECT_EQ(fensterUnter(d.fensterliste, d.arbeitsplatz.pid, {50, 10})->nummer, hinten.nummer);
    EXPECT_FALSE(fensterUnter(d.fensterliste, d.arbeitsplatz.pid, {900, 700}));
    d.hebeFenster(hinten.nummer);
    EXPECT_EQ(fensterUnter(d.fensterliste, d.arbeitsplatz.pid, {130, 130})->nummer, hinten.nummer);
    d.fensterliste.verfuegbar = false;
    EXPECT_FALSE(fensterUnter(d.fensterliste, d.arbeitsplatz.pid, {130, 130}));
}

struct GeometrieFall {
    Rechteck ax;
    bool gefunden;
};
class AxFensterGeometrie : public FensterSuche, public ::testing::WithParamInterface<GeometrieFall> {};

TEST_P(AxFensterGeometrie, OhneNummerZaehltDerRahmenUnterZweiPunkten) {
    auto& a = d.oeffneFenster(40, "a", {0, 0, 50, 50});
    auto& f = d.oeffneFenster(40, "f", {100, 100, 400, 300});
    const std::uint32_t nummer = f.nummer;
    f.nummer = 0;  // its element reports no number
    f.rahmen(GetParam().ax);
    auto e = axFenster(ax, 40, nummer, {100, 100, 400, 300});
    EXPECT_EQ(e.has_value(), GetParam().gefunden);
    if (e) EXPECT_EQ(*e, f.element());
    EXPECT_EQ(axFenster(ax, 40, a.nummer, {100, 100, 400, 300}), a.element());  // the number wins
}

INSTANTIATE_TEST_SUITE_P(Faelle, AxFensterGeometrie,
                         ::testing::Values(GeometrieFall{{100, 100, 400, 300}, true},
                                           GeometrieFall{{101.9, 98.1, 401.5, 298.5}, true},
                                           GeometrieFall{{102, 100, 400, 300}, false},
                                           GeometrieFall{{100, 100, 400, 298}, false}));

TEST_F(FensterSuche, AxFensterOhneFensterlisteIstLeer) {
    EXPECT_FALSE(axFenster(ax, 77, 5, {}));
    d.ax.baum(40).wurzel->fehlerhaft.insert("AXWindows");
    EXPECT_FALSE(axFenster(ax, 40, 5, {}));
}

TEST_F(FensterSuche, AlleFensterListetNurStandardfensterRegulaererAnwendungen) {
    d.oeffneFenster(40, "Unterhaltung", {0, 0, 100, 100});
    d.oeffneFenster(40, "Einstellungen", {0, 0, 100, 100}, "AXDialog");
    d.oeffneFenster(41, "Seite", {0, 0, 100, 100});
    d.oeffneFenster(41, "Palette", {0, 0, 10, 10}, "AXFloatingWindow");
    d.oeffneFenster(d.arbeitsplatz.pid, "Bedienfeld", {0, 0, 10, 10});
    test::starteApp(d, 42, "Hintergrund");
    d.arbeitsplatz.anwendungen.back().art = Aktivierungsart::verboten;
    d.oeffneFenster(42, "versteckt", {0, 0, 10, 10});
    auto& ohneTitel = d.oeffneFenster(40, "", {0, 0, 10, 10});
    ohneTitel.attribute.erase("AXTitle");
    d.arbeitsplatz.anwendungen[1].name = "";

    std::vector<std::string> zeilen;
    for (const auto& e : alleFenster(ax, d.arbeitsplatz)) zeilen.push_back(e.appName + " | " + e.titel);
    EXPECT_EQ(zeilen, (std::vector<std::string>{"Chat | ", "Chat | Unterhaltung", "App | Seite"}));
}

TEST_F(FensterSuche, AlleFensterUeberspringtEineAnwendungDieNichtBinnenDerFristAntwortet) {
    d.oeffneFenster(40, "Unterhaltung", {0, 0, 100, 100});
    d.oeffneFenster(41, "Seite", {0, 0, 100, 100});
    d.ax.baum(40).haengt = true;
    double vorher = d.uhr.jetzt();
    auto liste = alleFenster(ax, d.arbeitsplatz);
    ASSERT_EQ(liste.size(), 1u);
    EXPECT_EQ(liste[0].titel, "Seite");
    EXPECT_DOUBLE_EQ(d.uhr.jetzt() - vorher, 0.3);
}

TEST_F(FensterSuche, FindeFensterFuerEinenGespeichertenEintrag) {
    auto& f = d.oeffneFenster(40, "Unterhaltung", {0, 0, 100, 100});
    EXPECT_FALSE(s.findeFenster({40}));
    EXPECT_FALSE(s.findeFenster({40, 9999}));
    EXPECT_FALSE(s.findeFenster({40, -1}));
    EXPECT_FALSE(s.findeFenster({std::int64_t{1} << 40, f.nummer}));
    auto z = s.findeFenster({40, f.nummer, 3});
    ASSERT_TRUE(z);
    EXPECT_EQ(z->fenster, f.element());
    EXPECT_EQ(z->platz, 3);
    EXPECT_TRUE(s.verbunden.empty());  // neither observed nor appended
    ASSERT_TRUE(s.verbinde(z, z->platz));
    EXPECT_FALSE(s.findeFenster({40, f.nummer}));  // already connected
    auto& g = d.oeffneFenster(40, "Zweites", {0, 0, 100, 100});
    EXPECT_EQ(s.findeFenster({40, g.nummer, 3})->platz, 1);  // slot 3 is held
    EXPECT_EQ(s.findeFenster({40, g.nummer})->platz, 1);
}

TEST_F(FensterSuche, AppKennungIstDieBundleKennungSonstDerProgrammpfad) {
    EXPECT_EQ(appKennung(d.arbeitsplatz, 40), "de.beispiel.chat");
    EXPECT_EQ(appKennung(d.arbeitsplatz, 41), "/opt/browser/browser");
    EXPECT_FALSE(appKennung(d.arbeitsplatz, 12345));
    d.arbeitsplatz.anwendungen[1].pfad = "";
    EXPECT_FALSE(appKennung(d.arbeitsplatz, 41));
}

TEST_F(FensterSuche, BefehlFensterSchreibtDieListe) {
    d.oeffneFenster(40, "Unterhaltung", {0, 0, 100, 100});
    d.oeffneFenster(41, "Seite", {0, 0, 100, 100});
    s.testBefehl("fenster");
    std::ifstream datei(ordner / "fenster.txt", std::ios::binary);
    std::stringstream inhalt;
    inhalt << datei.rdbuf();
    EXPECT_EQ(inhalt.str(), "Chat | Unterhaltung\nBrowser | Seite");
}

}  // namespace
}  // namespace klebwerk
