#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <set>
#include <string>

#include <QJsonValue>

#include "app/einstellungen.h"
#include "feedback/klang.h"
#include "feedback/klang_synthese.h"
#include "feedback/wav.h"
#include "platform/sim/sim_desktop.h"
#include "support/temp_heim.h"

namespace klebwerk {
namespace {

class KlangTest : public ::testing::Test {
protected:
    test::TempHeim heim;
    sim::SimKlangspieler spieler;
    Einstellungen ud{einstellungsDatei()};
    Klang klang{spieler, ud};
};

TEST_F(KlangTest, ToeneAusSchweigtAusserWennAuchWennAus) {
    struct Fall {
        std::optional<QJsonValue> toene;  // none: the key is missing
        bool auchWennAus;
        bool spielt;
    };
    const Fall faelle[] = {
        {std::nullopt, false, true},        {std::nullopt, true, true},  {QJsonValue(true), false, true},
        {QJsonValue(false), false, false},  {QJsonValue(false), true, true},
        {QJsonValue("aus"), false, true},  // not a Boolean: reads as on
        {QJsonValue(0), false, true},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.toene ? f.toene->toVariant().toString().toStdString() : "fehlt");
        if (f.toene) ud.setze("toene", *f.toene);
        else ud.entferne("toene");
        spieler.gespielt.clear();
        klang.spiele(KlangArt::klick, f.auchWennAus);
        ASSERT_EQ(spieler.gespielt.size(), f.spielt ? 1u : 0u);
        if (f.spielt) EXPECT_EQ(spieler.gespielt[0], klang.daten(KlangArt::klick));
    }
}

TEST_F(KlangTest, AnSchreibtDieEinstellungToene) {
    klang.setzeAn(false);
    EXPECT_EQ(ud.wert("toene"), QJsonValue(false));
    EXPECT_FALSE(klang.an());
    klang.setzeAn(true);
    EXPECT_EQ(ud.wert("toene"), QJsonValue(true));
    EXPECT_TRUE(klang.an());
}

TEST_F(KlangTest, JedeArtWirdEinmalErzeugtUndKlingtDanachGleich) {
    // The noise comes from a real random source: the bytes of two syntheses of a noisy
    // sound differ, so equal bytes mean the kept ones were played.
    klang.spiele(KlangArt::klick);
    klang.spiele(KlangArt::an);
    klang.spiele(KlangArt::klick);
    klang.spiele(KlangArt::klick, true);
    ASSERT_EQ(spieler.gespielt.size(), 4u);
    EXPECT_EQ(klang.gespeicherteArten(), 2u);
    EXPECT_EQ(spieler.gespielt[0], spieler.gespielt[2]);
    EXPECT_EQ(spieler.gespielt[0], spieler.gespielt[3]);
    EXPECT_NE(spieler.gespielt[0], spieler.gespielt[1]);
    EXPECT_NE(klang.erzeuge(KlangArt::klick), spieler.gespielt[0]) << "a fresh synthesis has fresh noise";
    EXPECT_EQ(klang.daten(KlangArt::klick), spieler.gespielt[0]);
}

TEST_F(KlangTest, ZweiKlaengeKurzHintereinanderGehenBeideAnDenSpieler) {
    // The player gets each sound whole at once; cutting off is the player's to avoid.
    klang.spiele(KlangArt::auf);
    klang.spiele(KlangArt::zu);
    ASSERT_EQ(spieler.gespielt.size(), 2u);
    EXPECT_EQ(spieler.gespielt[0].size(), 29150u);
    EXPECT_EQ(spieler.gespielt[1].size(), 44u + 2 * 13671);
}

TEST_F(KlangTest, SpeichereSchreibtSiebenFrischErzeugteDateien) {
    const std::string ordner = heim.pfad() + "/klaenge";
    std::filesystem::create_directory(ordner);
    klang.spiele(KlangArt::klick);
    const std::string gespielt = spieler.gespielt.at(0);
    klang.speichere(ordner);

    std::set<std::string> namen;
    for (const auto& e : std::filesystem::directory_iterator(ordner)) namen.insert(e.path().filename().string());
    EXPECT_EQ(namen, (std::set<std::string>{"klang-klick.wav", "klang-an.wav", "klang-aus.wav", "klang-zu.wav",
                                            "klang-auf.wav", "klang-aktivAn.wav", "klang-aktivAus.wav"}));
    for (KlangArt art : alleKlangArten) {
        const std::string b = test::TempHeim::lies(ordner + "/klang-" + klangName(art) + ".wav");
        EXPECT_EQ(b.size(), 44 + 2 * static_cast<size_t>(synthetisiere(segmenteVon(art), systemZufall()).size()))
            << klangName(art);
        EXPECT_EQ(b.substr(0, 4), "RIFF");
    }
    // Made afresh, not taken from what was kept, and what was kept stays.
    EXPECT_NE(test::TempHeim::lies(ordner + "/klang-klick.wav"), gespielt);
    EXPECT_EQ(klang.gespeicherteArten(), 1u);
    EXPECT_EQ(klang.daten(KlangArt::klick), gespielt);
}

TEST_F(KlangTest, SpeichereInUnbeschreibbarenOrdnerLaesstDieDateiAus) {
    // A folder that does not exist: every write fails, nothing is left behind, nothing throws.
    const std::string ordner = heim.pfad() + "/fehlt";
    klang.speichere(ordner);
    EXPECT_FALSE(std::filesystem::exists(ordner));
    // The next kind still follows a failed one: a file where a name is wanted blocks only that one.
    const std::string teils = heim.pfad() + "/teils";
    std::filesystem::create_directories(teils + "/klang-an.wav");
    klang.speichere(teils);
    EXPECT_TRUE(std::filesystem::is_directory(teils + "/klang-an.wav"));
    for (KlangArt art : alleKlangArten) {
        if (art != KlangArt::an) EXPECT_TRUE(std::filesystem::is_regular_file(teils + "/klang-" + klangName(art) + ".wav"));
    }
}

}  // namespace
}  // namespace klebwerk
