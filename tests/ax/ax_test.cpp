#include <gtest/gtest.h>

#include "ax/ax.h"
#include "ax/cocoa_rahmen.h"
#include "platform/sim/sim_desktop.h"
#include "support/sim_szenario.h"

namespace klebwerk {
namespace {

class AxTest : public ::testing::Test {
protected:
    sim::SimDesktop d;
    AX ax{d.ax};
    sim::SimKnoten& app = test::starteApp(d, 10, "Notiz");
    sim::SimKnoten& fenster = d.oeffneFenster(10, "Notizen", {0, 0, 300, 200});
};

struct BeschriftungsFall {
    std::map<std::string, Wert> attribute;
    std::string erwartet;
};

class Beschriftung : public AxTest, public ::testing::WithParamInterface<BeschriftungsFall> {};

TEST_P(Beschriftung, NimmtDenErstenNichtLeerenGetrimmtenWert) {
    sim::SimKnoten& k = fenster.kind("AXButton", GetParam().attribute);
    EXPECT_EQ(ax.beschriftung(k.element()), GetParam().erwartet);
}

INSTANTIATE_TEST_SUITE_P(
    Faelle, Beschriftung,
    ::testing::Values(BeschriftungsFall{{{"AXDescription", "   "}, {"AXTitle", "Senden"}}, "Senden"},
                      BeschriftungsFall{{}, ""},
                      BeschriftungsFall{{{"AXDescription", " Mikrofon\n"}, {"AXTitle", "Senden"}}, "Mikrofon"},
                      BeschriftungsFall{{{"AXDescription", 5}, {"AXTitle", "\t"}, {"AXHelp", " Hilfe "}}, "Hilfe"},
                      BeschriftungsFall{{{"AXTitle", Element{}}, {"AXHelp", "\n"}}, ""}));

struct TrimmFall {
    std::string text;
    std::string erwartet;
};

class Trimmen : public ::testing::TestWithParam<TrimmFall> {};

TEST_P(Trimmen, NimmtBlankUndUnicodeLeerNurAnDenEndenWeg) {
    EXPECT_EQ(getrimmt(GetParam().text), GetParam().erwartet);
    EXPECT_EQ(getrimmteAnsicht(GetParam().text), GetParam().erwartet);
}

INSTANTIATE_TEST_SUITE_P(
    Faelle, Trimmen,
    ::testing::Values(TrimmFall{"Senden", "Senden"}, TrimmFall{"", ""}, TrimmFall{" \t\n\r\v\f", ""},
                      TrimmFall{"\u00a0 Senden \u2028", "Senden"}, TrimmFall{"\u2029\t", ""},
                      TrimmFall{"Se\u00a0nden", "Se\u00a0nden"}, TrimmFall{"x\u00a0", "x"}, TrimmFall{"\u00a0x", "x"},
                      TrimmFall{"\u2028 \u2028x\u2029", "x"}, TrimmFall{"\u00e9t\u00e9", "\u00e9t\u00e9"},
                      TrimmFall{"y\u2029", "y"}, TrimmFall{"y\u2028", "y"}, TrimmFall{"\u2028y", "y"},
                      TrimmFall{"\u20ac", "\u20ac"}, TrimmFall{"a\u00a9", "a\u00a9"}));

TEST_F(AxTest, KlassenVerbindetDieListeMitLeerzeichenInIhrerOrdnung) {
    auto& web = fenster.kind("AXButton", {{"AXDOMClassList", WertListe{"btn", "mic"}}});
    auto& nativ = fenster.kind("AXButton");
    auto& falsch = fenster.kind("AXButton", {{"AXDOMClassList", WertListe{"btn", 3}}});
    EXPECT_EQ(ax.klassen(web.element()), "btn mic");
    EXPECT_EQ(ax.klassen(nativ.element()), "");
    EXPECT_EQ(ax.klassen(falsch.element()), "");
}

TEST_F(AxTest, MehrereGibtFuerEinenFehlerEinenLeerenEintragAnSeinerStelle) {
    auto& k = fenster.kind("AXButton", {{"AXTitle", "A"}, {"AXDescription", "d"}});
    k.fehlerhaft.insert("AXDescription");
    auto werte = ax.mehrere(k.element(), {"AXRole", "AXTitle", "AXDescription", "AXChildren"});
    ASSERT_EQ(werte.size(), 4u);
    EXPECT_EQ(werte[0], Wert("AXButton"));
    EXPECT_EQ(werte[1], Wert("A"));
    EXPECT_TRUE(werte[2].fehlt());
    EXPECT_EQ(werte[3], Wert(WertListe{}));
    // A request that fails as a whole gives as many absent entries.
    d.ax.baum(10).haengt = true;
    auto leer = ax.mehrere(k.element(), {"AXRole", "AXTitle", "AXDescription"});
    ASSERT_EQ(leer.size(), 3u);
    for (const Wert& w : leer) EXPECT_TRUE(w.fehlt());
}

TEST_F(AxTest, JedeFehlgeschlageneOperationGibtDasLeereErgebnis) {
    auto& k = fenster.kind("AXButton", {{"AXTitle", 7}, {"AXPosition", Punkt{1, 2}}, {"AXParent", "x"}});
    k.aktionen = {"AXPress"};
    Element e = k.element();
    EXPECT_FALSE(ax.text(e, "AXTitle"));          // not a text
    EXPECT_FALSE(ax.element(e, "AXRole"));        // not an element
    EXPECT_FALSE(ax.rahmen(e));                   // position without size
    EXPECT_FALSE(ax.fensterNummer(e));            // window number 0
    EXPECT_FALSE(ax.aktion(e, "AXShowMenu"));     // no such action
    EXPECT_TRUE(ax.aktion(e, "AXPress"));
    EXPECT_TRUE(ax.wert(e, "AXNichts").fehlt());
    auto& gruppe = fenster.kind("AXGroup", {{"AXSelectedChildren", WertListe{e, "kein Element"}}});
    EXPECT_FALSE(ax.elemente(gruppe.element(), "AXSelectedChildren"));  // a list with a foreign entry
    // A closed window and its elements answer nothing at all.
    d.schliesseFenster(fenster.nummer);
    EXPECT_FALSE(ax.text(e, "AXRole"));
    EXPECT_TRUE(ax.kinder(e).empty());
    EXPECT_TRUE(ax.namen(e).empty());
    EXPECT_FALSE(ax.aktion(e, "AXPress"));
    EXPECT_FALSE(ax.setze(e, "AXFocused", true));
    EXPECT_FALSE(ax.text(Element{}, "AXRole"));
}

TEST_F(AxTest, RahmenUndFensterNummerEinesFensters) {
    EXPECT_EQ(ax.rahmen(fenster.element()), (Rechteck{0, 0, 300, 200}));
    EXPECT_EQ(ax.fensterNummer(fenster.element()), fenster.nummer);
    EXPECT_EQ(ax.element(fenster.kind("AXButton").element(), "AXWindow"), fenster.element());
}

TEST_F(AxTest, ZeitlimitGiltFuerDasElementUndEinFrischesAnwendungselementHatDenStandard) {
    d.ax.baum(10).kosten = 0.5;
    Element a = ax.anwendung(10);
    ax.setzeZeitlimit(a, 0.3);
    double vorher = d.uhr.jetzt();
    EXPECT_FALSE(ax.elemente(a, "AXWindows"));  // 0.5 s do not fit into 0.3 s
    EXPECT_DOUBLE_EQ(d.uhr.jetzt() - vorher, 0.3);
    EXPECT_DOUBLE_EQ(d.ax.letzteFrist, 0.3);
    // Another handle on the same application, made afresh, waits the default time.
    Element b = ax.anwendung(10);
    vorher = d.uhr.jetzt();
    EXPECT_TRUE(ax.elemente(b, "AXWindows"));
    EXPECT_DOUBLE_EQ(d.uhr.jetzt() - vorher, 0.5);
    EXPECT_DOUBLE_EQ(d.ax.letzteFrist, d.ax.standardFrist());
}

TEST_F(AxTest, EineHaengendeAnwendungHaeltNurBisZurFrist) {
    d.ax.baum(10).haengt = true;
    Element a = ax.anwendung(10);
    ax.setzeZeitlimit(a, 0.2);
    double vorher = d.uhr.jetzt();
    EXPECT_FALSE(ax.text(a, "AXTitle"));
    EXPECT_FALSE(ax.setze(a, "AXFrontmost", true));
    EXPECT_DOUBLE_EQ(d.uhr.jetzt() - vorher, 0.4);
}

struct CocoaFall {
    Rechteck r;
    double h;
    Rechteck erwartet;
};
class Cocoa : public ::testing::TestWithParam<CocoaFall> {};
TEST_P(Cocoa, SpiegeltAnDerHoeheDesErstenBildschirms) {
    EXPECT_EQ(cocoaRahmen(GetParam().r, GetParam().h), GetParam().erwartet);
}
INSTANTIATE_TEST_SUITE_P(Faelle, Cocoa,
                         ::testing::Values(CocoaFall{{100, 50, 400, 300}, 1000, {100, 650, 400, 300}},
                                           CocoaFall{{0, 0, 10, 10}, 0, {0, -10, 10, 10}},
                                           CocoaFall{{-20, 900, 100, 200}, 900, {-20, -200, 100, 200}}));

TEST(CocoaBildschirme, NimmtDenErstenBildschirmDerListeOderNull) {
    sim::SimDesktop d;
    d.bildschirme.liste = {{{0, 0, 1600, 1000}, {}}, {{1600, 0, 800, 600}, {}}};
    EXPECT_EQ(cocoaRahmen({100, 50, 400, 300}, d.bildschirme), (Rechteck{100, 650, 400, 300}));
    d.bildschirme.liste.clear();
    EXPECT_EQ(cocoaRahmen({100, 50, 400, 300}, d.bildschirme), (Rechteck{100, -350, 400, 300}));
}

}  // namespace
}  // namespace klebwerk
