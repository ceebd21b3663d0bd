// Connected targets on the real desktop: they survive a restart, follow their windows
// and processes, follow the user's clicks, and new windows of a known program join.
// Klebwerk runs as build/klebwerk, driven by test commands and observed in status.json.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include "desktop/klebwerk_lauf.h"
#include "desktop/x11_hilfe.h"

namespace klebwerk {
namespace {

namespace fs = std::filesystem;
using test::KlebwerkLauf;
using test::warteBis;

// One process of the window group fixture, started under a program name of its own
// (a link to the one executable, as an interpreter runs scripts): its windows carry
// that name as their window class.
class Gruppe {
public:
    Gruppe(const fs::path& ordner, const std::string& programm, const QStringList& titel) {
        const fs::path link = ordner / programm;
        std::error_code f;
        fs::create_symlink(KLEBWERK_FENSTERGRUPPE, link, f);
        auto u = QProcessEnvironment::systemEnvironment();
        u.insert("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
        u.insert("QT_ACCESSIBILITY", "1");
        u.insert("QT_QPA_PLATFORM", "xcb");
        p_.setProcessEnvironment(u);
        p_.setProgram(QString::fromStdString(link.string()));
        p_.setArguments(titel);
        p_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p_.start();
        p_.waitForStarted(5000);
    }
    ~Gruppe() { beende(); }
    void befehl(const std::string& zeile) {
        p_.write(QByteArray::fromStdString(zeile + "\n"));
        p_.waitForBytesWritten(2000);
    }
    // The X window of a title once the window was shown; 0 before.
    std::uint32_t fenster(const std::string& titel) {
        if (p_.state() != QProcess::NotRunning) p_.waitForReadyRead(20);
        while (p_.canReadLine()) zeilen_.push_back(p_.readLine().trimmed().toStdString());
        for (const auto& z : zeilen_) {
            const auto raum = z.find(' ', 8);
            if (z.rfind("fenster ", 0) == 0 && raum != std::string::npos && z.substr(raum + 1) == titel)
                return static_cast<std::uint32_t>(std::stoull(z.substr(8, raum - 8)));
        }
        return 0;
    }
    void beende() {
        if (p_.state() == QProcess::NotRunning) return;
        p_.terminate();
        if (!p_.waitForFinished(3000)) {
            p_.kill();
            p_.waitForFinished(3000);
        }
    }

private:
    QProcess p_;
    std::vector<std::string> zeilen_;
};

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
