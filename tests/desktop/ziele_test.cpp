// Connected targets on the real desktop: they survive a restart, follow their windows
// and processes, follow the user's clicks, and new windows of a known program join.
// Klebwerk runs as build/klebwerk, driven by test commands and observed in status.json.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "desktop/fenstergruppe.h"
#include "desktop/klebwerk_lauf.h"
#include "desktop/x11_hilfe.h"

namespace klebwerk {
namespace {

namespace fs = std::filesystem;
using test::Gruppe;
using test::KlebwerkLauf;
using test::warteBis;

class Ziele : public ::testing::Test {
protected:
    void SetUp() override {
        if (!test::hatAnzeige()) GTEST_SKIP() << "no display";
        ASSERT_TRUE(ordner_.isValid());
        lauf.schreibeEinstellungen(R"({"testBefehle": true, "feldSichtbar": false})");
    }
    fs::path ordner() const { return ordner_.path().toStdString(); }

    QJsonObject status() const {
        return QJsonDocument::fromJson(QByteArray::fromStdString(test::liesDatei(lauf.daten("status.json")))).object();
    }
    std::vector<std::string> verbunden() const {
        std::vector<std::string> liste;
        for (const auto& v : status().value("verbunden").toArray()) liste.push_back(v.toString().toStdString());
        return liste;
    }
    std::string aktiv() const { return status().value("ziel").toObject().value("titel").toString().toStdString(); }
    bool verbundenIst(const std::vector<std::string>& erwartet) const { return verbunden() == erwartet; }
    bool enthaelt(const std::string& name) const {
        auto v = verbunden();
        return std::find(v.begin(), v.end(), name) != v.end();
    }
    std::string zustand() const {
        std::string text = "connected:";
        for (const auto& v : verbunden()) text += " [" + v + "]";
        return text + " active: [" + aktiv() + "]\n" + lauf.protokoll();
    }

    void starteKlebwerk() {
        ASSERT_TRUE(lauf.starte());
        ASSERT_TRUE(warteBis([&] { return lauf.protokollEnthaelt(" Start, Freigabe: true\n"); })) << lauf.protokoll();
    }
    // Sends a command again until the condition holds: a window becomes choosable only
    // once its application is on the accessibility bus.
    bool bisMitBefehl(const std::string& befehl, const std::function<bool()>& bedingung, double frist = 30) {
        return warteBis(
            [&] {
                test::sendeBefehl(befehl);
                return warteBis(bedingung, 1.0);
            },
            frist);
    }
    void verbinde(const std::string& app, const std::string& titel) {
        ASSERT_TRUE(bisMitBefehl("ziel|" + app + "|" + titel, [&] { return enthaelt(titel); })) << zustand();
    }

    KlebwerkLauf lauf;

private:
    QTemporaryDir ordner_;
};

TEST_F(Ziele, NeustartStelltListeReihenfolgeUndAktivesZielWiederHerUndNeueFensterDesProgrammsKommenDazu) {
    Gruppe notizen(ordner(), "notizen", {"Eins", "Zwei", "Drei"});
    // The same executable under another program name: another program.
    Gruppe rechner(ordner(), "rechner", {"Rechnen"});
    ASSERT_TRUE(warteBis([&] { return notizen.fenster("Drei") && rechner.fenster("Rechnen"); }));
    starteKlebwerk();
    verbinde("notizen", "Eins");
    verbinde("notizen", "Zwei");
    verbinde("notizen", "Drei");
    test::sendeBefehl("entferne|Drei");
    test::sendeBefehl("aktiv|Zwei");
    ASSERT_TRUE(warteBis([&] { return verbundenIst({"Eins", "Zwei"}) && aktiv() == "Zwei"; })) << zustand();

    ASSERT_EQ(lauf.beende(), 0);
    starteKlebwerk();
    EXPECT_TRUE(warteBis([&] { return verbundenIst({"Eins", "Zwei"}) && aktiv() == "Zwei"; })) << zustand();

    // A new window of the program joins with its hint; one of the other program does not,
    // and the removed window stays out (the scan that took the new one saw it too).
    rechner.befehl("auf Rechnen zwei");
    notizen.befehl("auf Vier");
    ASSERT_TRUE(warteBis([&] { return enthaelt("Vier"); }, 20)) << zustand();
    EXPECT_TRUE(lauf.protokollEnthaelt("Automatisch verbunden: notizen \u2013 Vier\n")) << lauf.protokoll();
    EXPECT_TRUE(warteBis([] { return !test::ausgabeVon({"xdotool", "search", "--onlyvisible", "--name",
                                                        "^Klebwerk Hinweis$"}).empty(); },
                         5))
        << "no hint for the new window";
    EXPECT_TRUE(verbundenIst({"Eins", "Zwei", "Vier"})) << zustand();
    EXPECT_EQ(aktiv(), "Zwei");
    EXPECT_EQ(lauf.beende(), 0);
}

TEST_F(Ziele, FensterUndProzesseVerlassenDieListeTitelFolgen) {
    Gruppe notizen(ordner(), "notizen", {"Alpha", "Beta"});
    Gruppe rechner(ordner(), "rechner", {"Gamma", "Delta"});
    ASSERT_TRUE(warteBis([&] { return notizen.fenster("Beta") && rechner.fenster("Delta"); }));
    starteKlebwerk();
    verbinde("notizen", "Alpha");
    verbinde("notizen", "Beta");
    verbinde("rechner", "Gamma");
    verbinde("rechner", "Delta");

    // A retitled window keeps its place under its new name.
    notizen.befehl("titel Beta Beta neu");
    EXPECT_TRUE(warteBis([&] { return verbundenIst({"Alpha", "Beta neu", "Gamma", "Delta"}); }, 10)) << zustand();

    // A window closed while its process runs on leaves the list.
    notizen.befehl("zu Alpha");
    EXPECT_TRUE(warteBis([&] { return verbundenIst({"Beta neu", "Gamma", "Delta"}); }, 10)) << zustand();

    // A process that quits takes all its windows along.
    rechner.beende();
    EXPECT_TRUE(warteBis([&] { return verbundenIst({"Beta neu"}); }, 10)) << zustand();
    EXPECT_EQ(aktiv(), "Beta neu");
    EXPECT_EQ(lauf.beende(), 0);
}

TEST_F(Ziele, KlickInVerbundenesFensterMachtEsZumAktivenZiel) {
    Gruppe notizen(ordner(), "notizen", {"Links", "Rechts"});
    std::uint32_t links = 0;
    ASSERT_TRUE(warteBis([&] { return (links = notizen.fenster("Links")) && notizen.fenster("Rechts"); }));
    starteKlebwerk();
    verbinde("notizen", "Links");
    verbinde("notizen", "Rechts");
    ASSERT_TRUE(warteBis([&] { return aktiv() == "Rechts"; })) << zustand();

    const std::string id = std::to_string(links);
    ASSERT_EQ(test::fuehreAus({"xdotool", "windowactivate", "--sync", id}), 0);
    ASSERT_EQ(test::fuehreAus({"xdotool", "mousemove", "--window", id, "100", "100", "click", "1"}), 0);
    EXPECT_TRUE(warteBis([&] { return aktiv() == "Links"; }, 10)) << zustand();
    EXPECT_TRUE(verbundenIst({"Links", "Rechts"})) << zustand();
    EXPECT_EQ(lauf.beende(), 0);
}

}  // namespace
}  // namespace klebwerk
