#include <gtest/gtest.h>

#include "diagnostics/befehlstext.h"
#include "support/protokoll_hilfe.h"
#include "support/sim_steuerung.h"

namespace klebwerk {
namespace {

class Testbefehl : public ::testing::Test {
protected:
    test::SimUmgebung u;
    void SetUp() override { u.starte(); }
    int zeilen() const {
        return static_cast<int>(test::protokollTexte(u.heim.protokoll()).size());
    }
};

TEST_F(Testbefehl, SchalterSetzenIhreEinstellungUndDerStatusZeigtSie) {
    struct Fall {
        std::string befehl;
        std::string schluessel;
        bool wert;
    };
    const Fall faelle[] = {
        {"pause|1", "pausiert", true},         {"pause|ja", "pausiert", false},
        {"absenden|1", "absenden", true},      {"aufnahmen|0", "aufnahmen", false},
        {"papierkorb|1", "papierkorb", true},  {"diktat|1", "diktatAn", true},
        {"diktat|0", "diktatAn", false},       {"diktatsenden|0", "diktatSenden", false},
        {"liste|1", "listeOffen", true},
    };
    for (const Fall& f : faelle) {
        u.steuerung->testBefehl(f.befehl);
        EXPECT_EQ(u.ud.istWahr(f.schluessel), f.wert) << f.befehl;
    }
    EXPECT_NE(u.status().find("\"pausiert\": false"), std::string::npos);
    EXPECT_NE(u.status().find("\"papierkorb\": true"), std::string::npos);
    EXPECT_NE(u.status().find("\"diktatSenden\": false"), std::string::npos);
}

TEST_F(Testbefehl, ProtokolliertDieTeileUndSchreibtDenStatusAuchOhneWirkung) {
    for (const char* befehl : {"ziel|Chat", "unbekannt|1", "pause", ""}) {
        std::remove(u.heim.daten("status.json").c_str());
        u.steuerung->testBefehl(befehl);
        EXPECT_FALSE(u.status().empty()) << befehl;
    }
    std::string log = u.heim.protokoll();
    EXPECT_NE(log.find(" Testbefehl: [\"ziel\", \"Chat\"]\n"), std::string::npos);
    EXPECT_NE(log.find(" Testbefehl: [\"\"]\n"), std::string::npos);
    EXPECT_FALSE(u.ud.istWahr("pausiert")) << "\"pause\" without its argument does nothing";
}

TEST_F(Testbefehl, KnopfBefehleSpeichernUndEntfernenDieSignatur) {
    u.steuerung->testBefehl("knopf|AXButton|Vorlesen");
    u.steuerung->testBefehl("dknopf|AXButton|Diktieren");
    EXPECT_NE(u.status().find("\"knopf\""), std::string::npos);
    EXPECT_EQ(u.steuerung->merkmal(KnopfArt::diktat), (KnopfMerkmal{"AXButton", "Diktieren", ""}));
    u.steuerung->testBefehl("dknopfweg");
    EXPECT_FALSE(u.steuerung->merkmal(KnopfArt::diktat));
    EXPECT_TRUE(u.steuerung->merkmal(KnopfArt::vorlesen)) << "removing one kind leaves the other";
    EXPECT_EQ(u.status().find("\"diktatKnopf\""), std::string::npos);
}

TEST_F(Testbefehl, LernartNimmtNurDiktatWoertlich) {
    u.steuerung->testBefehl("lernart|diktat");
    EXPECT_EQ(u.steuerung->lernArt, KnopfArt::diktat);
    u.steuerung->testBefehl("lernart|Diktat");
    EXPECT_EQ(u.steuerung->lernArt, KnopfArt::vorlesen);
}

TEST_F(Testbefehl, EinZeilenumbruchImBefehlFaelschtKeineProtokollzeile) {
    int vorher = zeilen();
    u.steuerung->testBefehl("pause|1\n2026-01-01 00:00:00 Start, Freigabe: true");
    EXPECT_EQ(zeilen(), vorher + 1);
    EXPECT_FALSE(u.ud.istWahr("pausiert"));
}

TEST_F(Testbefehl, TakteGibtJedenFokustaktSeitDemLetztenAufrufEinmal) {
    u.desktop.uhr.vorwaerts(2.0);  // five ticks of 0.4 s
    u.steuerung->testBefehl("takte");
    const std::string erste = test::TempHeim::lies(u.heim.daten("takte.txt"));
    EXPECT_EQ(std::count(erste.begin(), erste.end(), '\n'), 5) << erste;
    EXPECT_EQ(erste.substr(erste.size() - 3), " 1\n") << "the fifth tick ran the 2-second checks";
    EXPECT_EQ(std::count(erste.begin(), erste.end(), '1'), 1) << erste;
    u.desktop.uhr.vorwaerts(0.8);
    u.steuerung->testBefehl("takte");
    const std::string zweite = test::TempHeim::lies(u.heim.daten("takte.txt"));
    EXPECT_EQ(std::count(zweite.begin(), zweite.end(), '\n'), 2) << zweite;
}

TEST_F(Testbefehl, ZuLangerBefehlWirdAbgewiesen) {
    int vorher = zeilen();
    std::string lang = "pause|1|" + std::string(befehlHoechstlaenge, 'x');
    u.steuerung->testBefehl(lang);
    EXPECT_FALSE(u.ud.istWahr("pausiert"));
    EXPECT_EQ(zeilen(), vorher + 1);
    std::string log = u.heim.protokoll();
    EXPECT_NE(log.find("Testbefehl abgewiesen: "), std::string::npos);
    EXPECT_LT(log.size(), 1000u) << "the refused text is not logged";
}

}  // namespace
}  // namespace klebwerk
