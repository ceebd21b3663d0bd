#include <gtest/gtest.h>

#include "support/sim_steuerung.h"

namespace klebwerk {
namespace {

using test::SimUmgebung;

TEST(Start, RuftDieDiensteInDerReihenfolgeDesStartsAuf) {
    SimUmgebung u;
    u.ud.setzeWahr("testBefehle", true);
    u.starte();
    const auto& j = u.desktop.journal;
    std::vector<int> reihe = {j.position("beendigung.beiSignal"), j.position("arbeitsplatz.beiBeendet"),
                              j.position("befehle.hoere"), j.position("anmeldeobjekt.status"),
                              j.position("ax.vertraut nachfragen")};
    for (int p : reihe) EXPECT_GE(p, 0);
    EXPECT_TRUE(std::is_sorted(reihe.begin(), reihe.end())) << ::testing::PrintToString(j.eintraege());
    std::string log = u.heim.protokoll();
    auto anmelde = log.find("Anmeldeobjekt-Status: 0\n");
    auto start = log.find("Start, Freigabe: true\n");
    ASSERT_NE(anmelde, std::string::npos);
    ASSERT_NE(start, std::string::npos);
    EXPECT_LT(anmelde, start);
    EXPECT_NE(u.status().find("\"freigabe\": true"), std::string::npos);
}

TEST(Start, RegistriertDieStandardsZuerst) {
    SimUmgebung u;
    u.starte();
    EXPECT_TRUE(u.steuerung->diktatSenden());
    EXPECT_TRUE(u.steuerung->aufnahmen());
    EXPECT_TRUE(u.steuerung->feldSichtbar());
    EXPECT_FALSE(u.steuerung->pausiert());
}

TEST(Start, MitFreigabeGibtEsKeineAbfrageUhr) {
    SimUmgebung u;
    u.starte();
    u.desktop.journal.leere();
    u.desktop.uhr.vorwaerts(10);
    EXPECT_EQ(u.desktop.journal.position("ax.vertraut"), -1);
    EXPECT_EQ(u.steuerung->hinweis.anzahl(), 0);
}

TEST(Start, OhneFreigabeFragtAlleZweiSekundenBisSieDaIst) {
    SimUmgebung u;
    u.desktop.ax.freigabe = false;
    u.starte();
    EXPECT_FALSE(u.steuerung->vertraut);
    EXPECT_NE(u.heim.protokoll().find("Start, Freigabe: false\n"), std::string::npos);
    EXPECT_NE(u.status().find("\"freigabe\": false"), std::string::npos);

    u.desktop.journal.leere();
    u.desktop.uhr.vorwaerts(4.0);
    EXPECT_EQ(u.desktop.journal.eintraege(), (std::vector<std::string>{"ax.vertraut", "ax.vertraut"}));
    EXPECT_FALSE(u.steuerung->vertraut);

    u.desktop.ax.freigabe = true;
    u.desktop.uhr.vorwaerts(2.0);
    EXPECT_TRUE(u.steuerung->vertraut);
    EXPECT_EQ(u.steuerung->hinweis.anzahl(), 1);
    EXPECT_EQ(u.steuerung->hinweis.letzterText(), "Freigabe erteilt – Zielfenster mit ⌃⌥S wählen");
    EXPECT_NE(u.status().find("\"freigabe\": true"), std::string::npos) << "the refresh wrote the status";

    u.desktop.journal.leere();
    u.desktop.uhr.vorwaerts(20.0);
    EXPECT_EQ(u.desktop.journal.position("ax.vertraut"), -1) << "the poll stopped itself";
    EXPECT_EQ(u.steuerung->hinweis.anzahl(), 1);
}

TEST(Start, NachfrageSchaltetDieFreigabeEinUndSpartDieAbfrage) {
    SimUmgebung u;
    u.desktop.ax.freigabe = false;
    u.desktop.ax.freigabeBeiNachfrage = true;
    u.starte();
    EXPECT_TRUE(u.steuerung->vertraut);
    u.desktop.journal.leere();
    u.desktop.uhr.vorwaerts(6.0);
    EXPECT_EQ(u.desktop.journal.position("ax.vertraut"), -1);
}

TEST(Start, FokusUhrPrueftAlleFuenfTakteAuchDieAusstehendenUndNeuenFenster) {
    SimUmgebung u;
    u.starte();
    u.desktop.uhr.vorwaerts(1.6);  // ticks 1-4
    EXPECT_EQ(u.steuerung->aufrufe, std::vector<std::string>(4, "fokus"));
    u.desktop.uhr.vorwaerts(0.4);  // tick 5
    EXPECT_EQ(u.steuerung->takt, 5);
    ASSERT_EQ(u.steuerung->aufrufe.size(), 7u);
    EXPECT_EQ(std::vector<std::string>(u.steuerung->aufrufe.begin() + 4, u.steuerung->aufrufe.end()),
              (std::vector<std::string>{"fokus", "ausstehende", "neueFenster"}));
    u.desktop.uhr.vorwaerts(2.0);  // ticks 6-10
    EXPECT_EQ(u.steuerung->takt, 10);
    EXPECT_EQ(std::count(u.steuerung->aufrufe.begin(), u.steuerung->aufrufe.end(), "neueFenster"), 2);
    EXPECT_EQ(u.steuerung->aufrufe.back(), "neueFenster");
}

TEST(Start, SigtermBeendetMitStatusNull) {
    SimUmgebung u;
    u.starte();
    EXPECT_FALSE(u.desktop.uhr.beendet());
    ASSERT_TRUE(u.desktop.beendigung.signal());
    u.desktop.uhr.laufeFaelliges();
    EXPECT_EQ(u.desktop.uhr.beendet(), 0);
}

TEST(Start, BefehleWerdenNurMitTestBefehlenGehoert) {
    for (bool an : {false, true}) {
        SimUmgebung u;
        u.ud.setzeWahr("testBefehle", an);
        u.starte();
        EXPECT_EQ(u.desktop.befehle.sende("pause|1"), an);
        u.desktop.uhr.laufeFaelliges();
        EXPECT_EQ(u.steuerung->pausiert(), an);
        EXPECT_NE(u.status().find(an ? "\"pausiert\": true" : "\"pausiert\": false"), std::string::npos)
            << "the status file is written either way";
    }
}

TEST(Start, EinBeendeterControllerHoertNichtsMehr) {
    SimUmgebung u;
    u.ud.setzeWahr("testBefehle", true);
    u.starte();
    u.steuerung.reset();
    EXPECT_FALSE(u.desktop.befehle.sende("pause|1"));
    EXPECT_FALSE(u.desktop.beendigung.signal());
    u.desktop.uhr.vorwaerts(10);  // no timer of the gone controller may run
    EXPECT_EQ(u.desktop.uhr.offen(), 0u);
}

}  // namespace
}  // namespace klebwerk
