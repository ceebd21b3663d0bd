#include <gtest/gtest.h>

#include <filesystem>

#include "basis/prozesswerte.h"
#include "app/steuerung.h"
#include "ax/knopf_merkmal.h"
#include "platform/sim/sim_desktop.h"

namespace klebwerk {
namespace {

struct MerkmalFall {
    KnopfMerkmal m;
    std::optional<std::string> rolle;
    std::string label;
    std::string klassen;
    bool passt;
    bool klassenGelesen;
};

class Abgleich : public ::testing::TestWithParam<MerkmalFall> {};

TEST_P(Abgleich, FolgtDerRegelUndLiestDieKlassenNurWennNoetig) {
    const MerkmalFall& f = GetParam();
    int gelesen = 0;
    bool ergebnis = f.m.passt(f.rolle, f.label, [&] {
        ++gelesen;
        return f.klassen;
    });
    EXPECT_EQ(ergebnis, f.passt);
    EXPECT_EQ(gelesen > 0, f.klassenGelesen);
}

const KnopfMerkmal diktiere{"AXButton", "Dictate", ""};
const KnopfMerkmal mikro{"AXButton", "", "btn mic"};

INSTANTIATE_TEST_SUITE_P(
    Faelle, Abgleich,
    ::testing::Values(MerkmalFall{diktiere, "AXPopUpButton", "Dictate", "", true, false},
                      MerkmalFall{diktiere, "AXButton", "Dictate", "", true, false},
                      MerkmalFall{diktiere, "AXStaticText", "Dictate", "", false, false},
                      MerkmalFall{diktiere, "AXButton", "dictate", "", false, false},
                      MerkmalFall{diktiere, std::nullopt, "Dictate", "", false, false},
                      MerkmalFall{KnopfMerkmal{"AXGroup", "Los", ""}, "AXGroup", "Los", "", true, false},
                      MerkmalFall{mikro, "AXButton", "", "btn mic", true, true},
                      MerkmalFall{mikro, "AXButton", "Mikro", "btn mic", true, true},  // the label is not compared
                      MerkmalFall{mikro, "AXButton", "", "mic btn", false, true},
                      MerkmalFall{mikro, "AXGroup", "", "btn mic", false, false},
                      MerkmalFall{mikro, std::nullopt, "", "btn mic", false, false},
                      MerkmalFall{KnopfMerkmal{"AXButton", "", ""}, "AXButton", "", "", false, false}));

TEST(KnopfMerkmal, TextformFuerDasProtokoll) {
    EXPECT_EQ((KnopfMerkmal{"AXButton", "Vor \"lesen\"", "a b"}).text(),
              R"(KnopfMerkmal(rolle: "AXButton", label: "Vor \"lesen\"", klassen: "a b"))");
}

TEST(KnopfMerkmal, MoeglicheRollen) {
    EXPECT_EQ(diktiere.moeglicheRollen().size(), 7u);
    EXPECT_TRUE((KnopfMerkmal{"AXGroup", "x", ""}).moeglicheRollen().count("AXGroup"));
    EXPECT_EQ(mikro.moeglicheRollen(), (std::set<std::string>{"AXButton"}));
    EXPECT_TRUE((KnopfMerkmal{"AXButton", "", ""}).moeglicheRollen().empty());
}

TEST(KnopfArt, RohwerteUndLesen) {
    EXPECT_EQ(knopfPraefix(KnopfArt::vorlesen), "knopf");
    EXPECT_EQ(knopfArtAus("diktat"), KnopfArt::diktat);
    EXPECT_EQ(knopfArtAus("knopf"), KnopfArt::vorlesen);
    EXPECT_FALSE(knopfArtAus("vorlesen"));
}

class MerkmalSpeicher : public ::testing::Test {
protected:
    std::filesystem::path ordner = std::filesystem::temp_directory_path() /
                                   ("klebwerk-merkmal-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
    void SetUp() override {
        std::filesystem::create_directories(ordner);
        setzeDatenOrdner(ordner.string());
    }
    void TearDown() override { std::filesystem::remove_all(ordner); }
};

TEST_F(MerkmalSpeicher, OhneRolleKeinMerkmalUndEntfernenLaesstDieAndereArtStehen) {
    sim::SimDesktop d;
    Plattform p = d.plattform();
    Einstellungen ud((ordner / "einstellungen.json").string());
    Steuerung s(p, ud);
    ud.setzeText("diktatLabel", "Mikro");
    ud.setzeText("diktatKlassen", "btn");
    EXPECT_FALSE(s.diktatKnopf());
    s.setzeKnopf(KnopfMerkmal{"AXButton", "", ""});
    EXPECT_EQ(s.knopf(), (KnopfMerkmal{"AXButton", "", ""}));
    EXPECT_EQ(ud.text("knopfLabel"), "");  // empty texts are stored, not removed
    s.setzeDiktatKnopf(KnopfMerkmal{"AXLink", "Diktat", "x"});
    s.testBefehl("dknopfweg");
    EXPECT_FALSE(ud.text("diktatRolle") || ud.text("diktatLabel") || ud.text("diktatKlassen"));
    EXPECT_EQ(s.merkmal(KnopfArt::vorlesen), (KnopfMerkmal{"AXButton", "", ""}));
    s.testBefehl("knopf|AXButton|Vorlesen");
    EXPECT_EQ(s.knopf(), (KnopfMerkmal{"AXButton", "Vorlesen", ""}));
}

}  // namespace
}  // namespace klebwerk
