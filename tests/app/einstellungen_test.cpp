#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include <sys/stat.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include "app/einstellungen.h"
#include "support/temp_heim.h"

namespace klebwerk {
namespace {

QJsonObject standards() { return QJsonObject{{"diktatSenden", true}, {"aufnahmen", true}, {"feldSichtbar", true}}; }

// How each Boolean key of the table reads in a fresh store with the start-up defaults.
bool liesWieDieAnwendung(const Einstellungen& ud, const std::string& k) {
    if (k == "toene" || k == "kuerzelOffen") return ud.istWahrOder(k, true);
    return ud.istWahr(k);
}

class EinstellungenTest : public ::testing::Test {
protected:
    test::TempHeim heim;
    std::string datei = einstellungsDatei();

    void schreibeDatei(const std::string& inhalt) {
        std::filesystem::create_directories(std::filesystem::path(datei).parent_path());
        std::ofstream(datei) << inhalt;
    }
};

TEST_F(EinstellungenTest, FrischerSpeicherLiestDieStandards) {
    Einstellungen ud(datei);
    ud.registriereStandards(standards());
    const std::vector<std::pair<std::string, bool>> tabelle = {
        {"pausiert", false},    {"absenden", false},     {"diktatAn", false}, {"diktatSenden", true},
        {"aufnahmen", true},    {"papierkorb", false},   {"feldSichtbar", true}, {"listeOffen", false},
        {"kuerzelOffen", true}, {"feldMini", false},     {"toene", true},     {"testBefehle", false},
    };
    for (const auto& [k, erwartet] : tabelle) EXPECT_EQ(liesWieDieAnwendung(ud, k), erwartet) << k;
    EXPECT_FALSE(ud.text("sprache"));
    EXPECT_EQ(ud.ganzzahl("zielPid"), 0);
    EXPECT_TRUE(ud.zahlenListen("ziele").empty());
    EXPECT_FALSE(std::filesystem::exists(datei)) << "reading never writes";
}

TEST_F(EinstellungenTest, EinWertFalschenTypsLiestSichWieAbwesend) {
    schreibeDatei(R"({"pausiert": "ja", "toene": "aus", "kuerzelOffen": 0, "aufnahmen": 1,
                      "sprache": true, "zielPid": 12.5, "zielNummer": "7",
                      "abgewaehlt": [1, "zwei"], "autoApps": ["a", 3], "ziele": [[1, 2], 3]})");
    Einstellungen ud(datei);
    ud.registriereStandards(standards());
    EXPECT_FALSE(ud.istWahr("pausiert"));
    EXPECT_TRUE(ud.istWahrOder("toene", true));
    EXPECT_TRUE(ud.istWahrOder("kuerzelOffen", true));
    EXPECT_TRUE(ud.istWahr("aufnahmen")) << "a number is no Boolean: the registered default holds";
    EXPECT_FALSE(ud.text("sprache"));
    EXPECT_EQ(ud.ganzzahl("zielPid"), 0);
    EXPECT_EQ(ud.ganzzahl("zielNummer"), 0);
    EXPECT_TRUE(ud.zahlen("abgewaehlt").empty());
    EXPECT_TRUE(ud.texte("autoApps").empty());
    EXPECT_TRUE(ud.zahlenListen("ziele").empty());
}

TEST_F(EinstellungenTest, WerteUeberlebenEinenNeuenSpeicherMitIhremTyp) {
    {
        Einstellungen ud(datei);
        ud.setzeWahr("pausiert", true);
        ud.setzeText("sprache", "en");
        ud.setzeGanzzahl("zielNummer", 4294967295LL);
        ud.setze("ziele", QJsonArray{QJsonArray{101, 4242, 1}, QJsonArray{7, 1, 2}});
        ud.setze("autoApps", QJsonArray{"com.example.chat"});
    }
    Einstellungen ud(datei);
    EXPECT_TRUE(ud.istWahr("pausiert"));
    EXPECT_EQ(ud.text("sprache"), "en");
    EXPECT_EQ(ud.ganzzahl("zielNummer"), 4294967295LL);
    EXPECT_EQ(ud.zahlenListen("ziele"), (std::vector<std::vector<std::int64_t>>{{101, 4242, 1}, {7, 1, 2}}));
    EXPECT_EQ(ud.texte("autoApps"), std::vector<std::string>{"com.example.chat"});
    QFile f(QString::fromStdString(datei));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QJsonDocument::fromJson(f.readAll()).object().value("pausiert").isBool());
}

TEST_F(EinstellungenTest, EntfernenLaesstDenStandardWiederGelten) {
    Einstellungen ud(datei);
    ud.registriereStandards(standards());
    ud.setzeWahr("feldSichtbar", false);
    EXPECT_FALSE(ud.istWahr("feldSichtbar"));
    ud.entferne("feldSichtbar");
    EXPECT_TRUE(ud.istWahr("feldSichtbar"));
    ud.setzeText("vorschauVorher", "an");
    ud.entferne("vorschauVorher");
    EXPECT_FALSE(ud.text("vorschauVorher"));
}

TEST_F(EinstellungenTest, EineAenderungDerDateiVonAussenGiltBeimNaechstenLesen) {
    Einstellungen ud(datei);
    ud.setzeWahr("pausiert", false);
    schreibeDatei(R"({"pausiert": true, "absenden": true, "x": "yz"})");
    EXPECT_TRUE(ud.istWahr("pausiert"));
    EXPECT_TRUE(ud.istWahr("absenden"));
}

TEST_F(EinstellungenTest, EineUnlesbareDateiWirdVorDemUeberschreibenAufbewahrt) {
    schreibeDatei("{ das ist kein JSON");
    Einstellungen ud(datei);
    EXPECT_FALSE(ud.istWahr("pausiert"));
    ud.setzeWahr("pausiert", true);
    EXPECT_EQ(test::TempHeim::lies(datei + ".defekt"), "{ das ist kein JSON");
    EXPECT_TRUE(Einstellungen(datei).istWahr("pausiert"));
}

TEST_F(EinstellungenTest, EineNamedPipeAnStelleDerDateiHaeltNichtAufUndWirdErsetzt) {
    std::filesystem::create_directories(std::filesystem::path(datei).parent_path());
    ASSERT_EQ(mkfifo(datei.c_str(), 0600), 0);
    Einstellungen ud(datei);
    ud.registriereStandards(standards());
    EXPECT_FALSE(ud.istWahr("pausiert"));
    EXPECT_TRUE(ud.istWahr("aufnahmen"));
    ud.setzeWahr("pausiert", true);
    EXPECT_TRUE(std::filesystem::is_regular_file(datei));
    EXPECT_TRUE(Einstellungen(datei).istWahr("pausiert"));
}

TEST_F(EinstellungenTest, GleichzeitigesSchreibenAusZweiThreadsVerliertNichts) {
    Einstellungen ud(datei);
    auto schreiber = [&ud](const std::string& praefix) {
        for (int i = 0; i < 50; ++i) ud.setzeGanzzahl(praefix + std::to_string(i), i);
    };
    std::thread a(schreiber, "a"), b(schreiber, "b");
    a.join();
    b.join();
    Einstellungen neu(datei);
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(neu.ganzzahl("a" + std::to_string(i)), i);
        EXPECT_EQ(neu.ganzzahl("b" + std::to_string(i)), i);
    }
}

}  // namespace
}  // namespace klebwerk
