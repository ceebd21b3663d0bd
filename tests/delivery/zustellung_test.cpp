#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include <QImage>
#include <QTemporaryDir>

#include "delivery/ablage.h"
#include "support/protokoll_hilfe.h"
#include "support/sim_steuerung.h"
#include "support/sim_szenario.h"

namespace klebwerk {
namespace {

namespace fs = std::filesystem;

constexpr int chatPid = 100;
constexpr int editorPid = 200;

// A chat application and an editor in front; the chat window is the target.
class Zustellen : public ::testing::Test {
protected:
    test::SimUmgebung u;
    QTemporaryDir aufnahmen;
    sim::SimKnoten* chat = nullptr;
    sim::SimKnoten* editor = nullptr;
    const GesicherteAblage nutzerAblage{{{"text/plain", "meins"}, {"text/html", "<i>meins</i>"}}};

    void SetUp() override {
        test::starteApp(u.desktop, chatPid, "Chat", "com.example.chat");
        chat = &test::baueFenster(u.desktop, chatPid, test::chatFenster());
        test::starteApp(u.desktop, editorPid, "Editor", "org.example.editor");
        editor = &u.desktop.oeffneFenster(editorPid, "notizen.txt", {600, 100, 500, 400});
        u.desktop.arbeitsplatz.vorne = editorPid;
        u.desktop.ablage.inhalt = nutzerAblage;
        u.starte();
        u.steuerung->waechter.alleOrdner = {aufnahmen.path().toStdString()};
        waehleChat();
        u.desktop.uhr.vorwaerts(5);  // hints of the choice are gone
        u.desktop.eingabe.gepostet.clear();
    }

    void waehleChat() {
        auto z = std::make_shared<Ziel>(u.steuerung->ax, u.desktop.arbeitsplatz, chat->element(), chatPid);
        u.steuerung->setzeZiel(z);
    }

    std::string bild(const std::string& name) {
        QImage b(64, 48, QImage::Format_RGB32);
        b.fill(Qt::darkCyan);
        std::string pfad = aufnahmen.filePath(QString::fromStdString(name)).toStdString();
        EXPECT_TRUE(b.save(QString::fromStdString(pfad), "PNG"));
        return pfad;
    }

    std::vector<const sim::Gepostet*> tasten() const {
        std::vector<const sim::Gepostet*> t;
        for (const auto& g : u.desktop.eingabe.gepostet) {
            if (g.art == "taste") t.push_back(&g);
        }
        return t;
    }
    bool imLog(const std::string& text) const { return u.heim.protokoll().find(text) != std::string::npos; }
};

TEST_F(Zustellen, FuegtInDasEingabefeldEinUndBringtDenNutzerZurueck) {
    const std::string pfad = bild("Bildschirmfoto 2026-12-10 um 10.00.00.png");
    const double start = u.desktop.uhr.jetzt();
    u.steuerung->neuerScreenshot(pfad);
    EXPECT_TRUE(u.steuerung->beschaeftigt);
    u.desktop.uhr.vorwaerts(0.9 + 1e-6);

    auto t = tasten();
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0]->code, 9);
    EXPECT_EQ(t[0]->flaggen, flagge::befehl);
    EXPECT_FALSE(t[0]->pid) << "posted to the front once the target was confirmed there";
    EXPECT_NEAR(t[0]->zeit - start, 0.15, 1e-9);

    ASSERT_EQ(u.desktop.eingabe.einfuegungen.size(), 1u);
    const sim::Einfuegung& e = u.desktop.eingabe.einfuegungen[0];
    EXPECT_EQ(e.pid, chatPid);
    ASSERT_TRUE(e.fokus);
    EXPECT_EQ(u.steuerung->ax.text(*e.fokus, "AXRole"), "AXTextField") << "the last input field of the window";
    ASSERT_EQ(e.inhalt.size(), 1u);
    EXPECT_EQ(*datenVon(e.inhalt[0], ablagetyp::dateiUrl), dateiUrl(pfad) + "\r\n");
    EXPECT_TRUE(QImage::fromData(QByteArray::fromStdString(*datenVon(e.inhalt[0], ablagetyp::png))).size() == QSize(64, 48));

    EXPECT_EQ(u.desktop.arbeitsplatz.vorne, editorPid) << "the user is back where they were";
    EXPECT_EQ(u.steuerung->hinweis.letzterText(), "✓ Screenshot eingefügt in: Kleiner Chat");
    EXPECT_EQ(u.steuerung->letzteZustellung, "Bildschirmfoto 2026-12-10 um 10.00.00.png");
    EXPECT_TRUE(imLog(" Eingefügt in Chat – Kleiner Chat: Bildschirmfoto 2026-12-10 um 10.00.00.png (vorn: true)\n"));
    EXPECT_NE(u.status().find("\"letzteZustellung\": \"Bildschirmfoto 2026-12-10 um 10.00.00.png\""), std::string::npos);

    EXPECT_NE(u.desktop.ablage.inhalt, nutzerAblage);
    u.desktop.uhr.vorwaerts(1.5);
    EXPECT_EQ(u.desktop.ablage.inhalt, nutzerAblage) << "1.5 s after the finish the pasteboard is the user's again";
    u.desktop.uhr.vorwaerts(1);
    EXPECT_FALSE(u.steuerung->beschaeftigt);
}

TEST_F(Zustellen, AbsendenDrueckt1_4SekundenNachDemEinfuegenReturn) {
    u.ud.setzeWahr("absenden", true);
    const double start = u.desktop.uhr.jetzt();
    u.steuerung->neuerScreenshot(bild("a.png"));
    u.desktop.uhr.vorwaerts(1.8 - 1e-6);
    EXPECT_EQ(u.steuerung->letzteZustellung, "") << "the finish comes 0.25 s after Return";
    u.desktop.uhr.vorwaerts(2e-6);
    EXPECT_EQ(u.steuerung->letzteZustellung, "a.png");
    auto t = tasten();
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[1]->code, 36);
    EXPECT_EQ(t[1]->flaggen, 0u);
    EXPECT_FALSE(t[1]->pid);
    EXPECT_NEAR(t[1]->zeit - start, 0.15 + 1.4, 1e-9);
}

TEST_F(Zustellen, WartetAufDasFensterUndSchicktSonstAnDenProzess) {
    struct Fall {
        double aktivierung;
        double cmdV;  // after the start
        bool vorn;
    };
    for (Fall f : {Fall{0.19, 0.05 * 4 + 0.15, true}, Fall{10.0, 0.05 * 30 + 0.15, false}}) {
        u.desktop.arbeitsplatz.vorne = editorPid;
        u.desktop.arbeitsplatz.aktivierungsDauer = f.aktivierung;
        u.desktop.eingabe.gepostet.clear();
        const double start = u.desktop.uhr.jetzt();
        u.steuerung->neuerScreenshot(bild("b.png"));
        u.desktop.uhr.vorwaerts(12);
        auto t = tasten();
        ASSERT_EQ(t.size(), 1u);
        EXPECT_NEAR(t[0]->zeit - start, f.cmdV, 1e-9) << f.aktivierung;
        EXPECT_EQ(t[0]->pid.has_value(), !f.vorn);
        EXPECT_TRUE(imLog(std::string("b.png (vorn: ") + (f.vorn ? "true" : "false") + ")\n"));
    }
}

TEST_F(Zustellen, DreiAufnahmenKommenNacheinanderUndDieAblageDesNutzersZurueck) {
    for (const char* name : {"1.png", "2.png", "3.png"}) u.steuerung->neuerScreenshot(bild(name));
    EXPECT_EQ(u.steuerung->schlange.size(), 2u);
    u.desktop.uhr.vorwaerts(10);
    const auto& e = u.desktop.eingabe.einfuegungen;
    ASSERT_EQ(e.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(*datenVon(e[i].inhalt[0], ablagetyp::dateiUrl), dateiUrl(aufnahmen.filePath(QString("%1.png").arg(i + 1)).toStdString()) + "\r\n");
    }
    // Each sequence takes 0.9 s to its finish, the next begins 0.3 s later.
    EXPECT_NEAR(e[1].zeit - e[0].zeit, 1.2, 1e-9);
    EXPECT_NEAR(e[2].zeit - e[1].zeit, 1.2, 1e-9);
    EXPECT_EQ(u.desktop.ablage.inhalt, nutzerAblage) << "no capture is left on the pasteboard as the user's";
    EXPECT_FALSE(u.steuerung->beschaeftigt);
}

TEST_F(Zustellen, ZwanzigAufnahmenInEinerSekundeKommenJeEinmalInDerReihenfolge) {
    std::vector<std::string> pfade;
    for (int i = 0; i < 20; ++i) {
        pfade.push_back(bild("Bildschirmfoto " + std::to_string(100 + i) + ".png"));
        u.steuerung->neuerScreenshot(pfade.back());
        u.desktop.uhr.vorwaerts(0.05);
    }
    u.desktop.uhr.vorwaerts(60);
    const auto& e = u.desktop.eingabe.einfuegungen;
    ASSERT_EQ(e.size(), 20u);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(e[i].pid, chatPid);
        EXPECT_EQ(*datenVon(e[i].inhalt[0], ablagetyp::dateiUrl), dateiUrl(pfade[i]) + "\r\n") << i;
    }
    EXPECT_EQ(u.desktop.ablage.inhalt, nutzerAblage);
    EXPECT_FALSE(u.steuerung->beschaeftigt);
    EXPECT_TRUE(u.steuerung->schlange.empty());
}

TEST_F(Zustellen, EineKopieDesNutzersNachDemEinfuegenBleibt) {
    u.steuerung->neuerScreenshot(bild("a.png"));
    u.desktop.uhr.vorwaerts(1.0);
    const GesicherteAblage neu{{{"text/plain", "neu kopiert"}}};
    u.desktop.ablage.schreibe(neu);
    u.desktop.uhr.vorwaerts(2.0);
    EXPECT_EQ(u.desktop.ablage.inhalt, neu);

    // Also when the copy falls between two queued deliveries.
    u.steuerung->neuerScreenshot(bild("b.png"));
    u.steuerung->neuerScreenshot(bild("c.png"));
    u.desktop.uhr.vorwaerts(1.0);  // b finished at 0.9; c starts at 1.2
    u.desktop.ablage.schreibe(neu);
    u.desktop.uhr.vorwaerts(5);
    EXPECT_EQ(u.desktop.eingabe.einfuegungen.size(), 3u);
    EXPECT_EQ(u.desktop.ablage.inhalt, neu);
}

TEST_F(Zustellen, VerworfenWirdOhneFreigabeInDerPauseUndOhneZiel) {
    const std::string pfad = bild("x.png");
    u.steuerung->vertraut = false;
    u.steuerung->neuerScreenshot(pfad);
    u.steuerung->vertraut = true;
    u.ud.setzeWahr("pausiert", true);
    u.steuerung->neuerScreenshot(pfad);
    u.ud.setzeWahr("pausiert", false);
    u.desktop.uhr.vorwaerts(5);
    EXPECT_TRUE(u.desktop.eingabe.einfuegungen.empty()) << "dropped, not kept for later";
    EXPECT_EQ(u.steuerung->hinweis.anzahl(), 1) << "the choice's hint only";

    u.steuerung->entferne(u.steuerung->ziel, true);
    std::ofstream(aufnahmen.filePath("Bildschirmaufnahme.mov").toStdString()) << "x";
    u.steuerung->neuerScreenshot(aufnahmen.filePath("Bildschirmaufnahme.mov").toStdString());
    EXPECT_EQ(u.steuerung->hinweis.letzterText(), "Kein Zielfenster gewählt – Aufnahme nicht zugestellt");
    u.steuerung->neuerScreenshot(pfad);
    EXPECT_EQ(u.steuerung->hinweis.letzterText(), "Kein Zielfenster gewählt – Screenshot nicht zugestellt");
}

TEST_F(Zustellen, UnlesbareAufnahmeWirdProtokolliertUndDieSchlangeGehtWeiter) {
    std::string leer = aufnahmen.filePath("leer.png").toStdString();
    std::ofstream(leer) << "";
    u.steuerung->neuerScreenshot(leer);
    u.steuerung->neuerScreenshot(aufnahmen.filePath("fehlt.png").toStdString());
    u.steuerung->neuerScreenshot(bild("gut.png"));
    u.desktop.uhr.vorwaerts(5);
    EXPECT_TRUE(imLog(" Bild nicht lesbar: " + leer + "\n"));
    EXPECT_TRUE(imLog("fehlt.png\n"));
    ASSERT_EQ(u.desktop.eingabe.einfuegungen.size(), 1u);
    EXPECT_EQ(u.steuerung->letzteZustellung, "gut.png");
    u.desktop.uhr.vorwaerts(2);
    EXPECT_EQ(u.desktop.ablage.inhalt, nutzerAblage);
}

TEST_F(Zustellen, GeschlossenesZielGibtDieSchlangeAnDasNaechsteWeiter) {
    auto& zweites = u.desktop.oeffneFenster(chatPid, "Zweiter Chat", {120, 520, 400, 300});
    zweites.kind("AXTextArea");
    u.steuerung->setzeZiel(std::make_shared<Ziel>(u.steuerung->ax, u.desktop.arbeitsplatz, zweites.element(), chatPid));
    u.steuerung->aktiviere(u.steuerung->verbunden.front(), false);
    u.desktop.uhr.vorwaerts(5);
    for (const char* name : {"1.png", "2.png"}) u.steuerung->neuerScreenshot(bild(name));
    u.desktop.schliesseFenster(chat->nummer);  // the active target's window closes while one capture waits
    u.desktop.uhr.vorwaerts(10);
    ASSERT_EQ(u.steuerung->verbunden.size(), 1u);
    EXPECT_EQ(u.steuerung->ziel->titel, "Zweiter Chat");
    EXPECT_EQ(u.desktop.eingabe.einfuegungen.size(), 2u) << "the first went to the old window, the second to the new";
    EXPECT_TRUE(imLog(" Ziel entfernt: Chat – Kleiner Chat\n"));
    EXPECT_TRUE(imLog(" Eingefügt in Chat – Zweiter Chat: 2.png"));
}

TEST_F(Zustellen, PapierkorbWirftDieAufnahmeWegUndBehaeltDieKopie) {
    u.ud.setzeWahr("papierkorb", true);
    const std::string pfad = bild("weg.png");
    u.steuerung->neuerScreenshot(pfad);
    u.desktop.uhr.vorwaerts(3);
    EXPECT_EQ(u.desktop.arbeitsplatz.papierkorb, std::vector<std::string>{pfad});
    EXPECT_TRUE(imLog(" In den Papierkorb: weg.png\n"));
    EXPECT_TRUE(fs::exists(fs::path(u.steuerung->zwischenlager) / "weg.png"));
    ASSERT_EQ(u.desktop.eingabe.einfuegungen.size(), 1u);
    EXPECT_EQ(*datenVon(u.desktop.eingabe.einfuegungen[0].inhalt[0], ablagetyp::dateiUrl),
              dateiUrl(u.steuerung->zwischenlager + "/weg.png") + "\r\n");

    // A file outside the watched folders is never trashed.
    QTemporaryDir anderswo;
    QImage(8, 8, QImage::Format_RGB32).save(anderswo.filePath("fremd.png"), "PNG");
    u.steuerung->neuerScreenshot(anderswo.filePath("fremd.png").toStdString());
    u.desktop.uhr.vorwaerts(3);
    EXPECT_EQ(u.desktop.arbeitsplatz.papierkorb.size(), 1u);
    EXPECT_TRUE(fs::exists(anderswo.filePath("fremd.png").toStdString()));
}

TEST_F(Zustellen, GehalteneUmschalttastenVerbindenSichNichtMitDemEinfuegen) {
    u.desktop.eingabe.gehalten = flagge::control | flagge::option;
    u.steuerung->neuerScreenshot(bild("a.png"));
    u.desktop.uhr.vorwaerts(0.25);
    EXPECT_TRUE(tasten().empty()) << "waits while ⌃⌥ are held";
    u.desktop.eingabe.gehalten = 0;
    u.desktop.uhr.vorwaerts(0.05);
    ASSERT_EQ(tasten().size(), 1u);

    u.desktop.uhr.vorwaerts(5);
    u.desktop.eingabe.gepostet.clear();
    u.desktop.eingabe.gehalten = flagge::umschalt;  // never let go
    u.steuerung->neuerScreenshot(bild("b.png"));
    u.desktop.uhr.vorwaerts(5);
    ASSERT_EQ(tasten().size(), 1u) << "sent once all the same";
    EXPECT_TRUE(imLog("Taste 9 gesendet, obwohl noch Umschalttasten gehalten werden"));
}

// A modifier the user still holds delays a key; what follows the key counts from the
// moment it went out: Return 1.4 s after ⌘V, the finish 0.25 s after Return.
TEST_F(Zustellen, ReturnUndAbschlussZaehlenAbDerGesendetenTaste) {
    u.ud.setzeWahr("absenden", true);
    u.desktop.eingabe.gehalten = flagge::option;
    u.steuerung->neuerScreenshot(bild("a.png"));
    u.desktop.uhr.vorwaerts(0.3);
    ASSERT_TRUE(tasten().empty());
    u.desktop.eingabe.gehalten = 0;
    u.desktop.uhr.vorwaerts(0.03);
    ASSERT_EQ(tasten().size(), 1u);
    const double cmdV = tasten()[0]->zeit;

    u.desktop.uhr.vorwaerts(cmdV + 1.4 - 0.01 - u.desktop.uhr.jetzt());
    u.desktop.eingabe.gehalten = flagge::umschalt;  // held again just before Return
    u.desktop.uhr.vorwaerts(0.2);
    ASSERT_EQ(tasten().size(), 1u) << "Return waits as well";
    u.desktop.eingabe.gehalten = 0;
    u.desktop.uhr.vorwaerts(0.03);
    auto t = tasten();
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[1]->code, 36);
    EXPECT_GT(t[1]->zeit - cmdV, 1.4 + 0.1);
    const double zurueck = t[1]->zeit;

    u.desktop.uhr.vorwaerts(zurueck + 0.25 - 1e-6 - u.desktop.uhr.jetzt());
    EXPECT_EQ(u.steuerung->letzteZustellung, "") << "the finish comes 0.25 s after Return went out";
    u.desktop.uhr.vorwaerts(2e-6);
    EXPECT_EQ(u.steuerung->letzteZustellung, "a.png");
}

TEST_F(Zustellen, SendenBringtDasZielNachVorn) {
    for (bool zurueck : {false, true}) {
        u.desktop.arbeitsplatz.vorne = editorPid;
        u.desktop.eingabe.gepostet.clear();
        u.steuerung->sende(u.steuerung->ziel, zurueck);
        u.desktop.uhr.vorwaerts(0.15 + 1e-6);
        auto t = tasten();
        ASSERT_EQ(t.size(), 1u);
        EXPECT_EQ(t[0]->code, 36);
        EXPECT_FALSE(t[0]->pid);
        EXPECT_EQ(u.desktop.arbeitsplatz.vorne, chatPid);
        EXPECT_EQ(u.steuerung->hinweis.letzterText(), "✓ Gesendet");
        u.desktop.uhr.vorwaerts(0.3);
        EXPECT_EQ(u.desktop.arbeitsplatz.vorne, zurueck ? editorPid : chatPid);
    }
    EXPECT_TRUE(imLog(" Gesendet (vorn: true)\n"));
}

}  // namespace
}  // namespace klebwerk

namespace klebwerk {
namespace {

TEST_F(Zustellen, TestbefehleWaehlenAktivierenUndEntfernenZiele) {
    auto& zweites = u.desktop.oeffneFenster(chatPid, "Zweiter Chat", {120, 520, 400, 300});
    zweites.kind("AXTextArea");
    u.steuerung->testBefehl("ziel|Chat|Zweiter");
    ASSERT_EQ(u.steuerung->verbunden.size(), 2u);
    EXPECT_EQ(u.steuerung->ziel->titel, "Zweiter Chat");
    EXPECT_NE(u.status().find("\"name\": \"Zweiter Chat\""), std::string::npos);
    u.steuerung->testBefehl("ziel|Chat|gibt es nicht");
    EXPECT_EQ(u.steuerung->verbunden.size(), 2u);

    u.steuerung->testBefehl("aktiv|Kleiner Chat");
    EXPECT_EQ(u.steuerung->ziel->titel, "Kleiner Chat");
    u.steuerung->testBefehl("entferne|Zweiter Chat");
    ASSERT_EQ(u.steuerung->verbunden.size(), 1u);
    EXPECT_EQ(u.steuerung->abgewaehlt(), (std::set<std::int64_t>{zweites.nummer}));
    u.steuerung->testBefehl("aufheben");
    EXPECT_FALSE(u.steuerung->ziel);
    EXPECT_EQ(u.steuerung->abgewaehlt().size(), 2u);
    EXPECT_EQ(u.status().find("\"ziel\""), std::string::npos);
    EXPECT_EQ(u.ud.ganzzahl("zielNummer"), 0);
}

TEST_F(Zustellen, ZustellenNimmtNurGewoehnlicheNichtLeereDateienAn) {
    u.steuerung->testBefehl("zustellen|" + bild("gut.png"));
    const std::string leer = aufnahmen.filePath("leer.png").toStdString();
    std::ofstream{leer};
    // /proc/self/status: regular, size 0, yet it has contents; others there read without end.
    for (std::string pfad : {std::string("/dev/zero"), std::string("/dev/null"), aufnahmen.path().toStdString(),
                             std::string("relativ.png"), aufnahmen.filePath("fehlt.png").toStdString(), leer,
                             std::string("/proc/self/status")}) {
        u.steuerung->testBefehl("zustellen|" + pfad);
    }
    u.desktop.uhr.vorwaerts(5);
    EXPECT_EQ(u.desktop.eingabe.einfuegungen.size(), 1u);
    EXPECT_EQ(test::zaehle(test::protokollTexte(u.heim.protokoll()), "Zustellen abgewiesen: leer"), 2);
    EXPECT_TRUE(imLog(" Zustellen abgewiesen: keine gewöhnliche Datei\n"));
    EXPECT_TRUE(imLog(" Zustellen abgewiesen: kein absoluter Pfad\n"));
    EXPECT_TRUE(imLog(" Zustellen abgewiesen: nicht vorhanden\n"));
}

// ---- The user's pasteboard when it cannot be read, or only slowly ----

TEST_F(Zustellen, NichtLesbareAblageWirdNichtGeleertUndDieAufnahmeKommtTrotzdem) {
    u.desktop.ablage.lesefehler = "der Besitzer der Zwischenablage antwortet nicht";
    const std::string pfad = bild("a.png");
    u.steuerung->neuerScreenshot(pfad);
    u.desktop.uhr.vorwaerts(1.0);
    ASSERT_EQ(u.desktop.eingabe.einfuegungen.size(), 1u) << "the capture is delivered all the same";
    EXPECT_TRUE(imLog(" Zwischenablage nicht gesichert: der Besitzer der Zwischenablage antwortet nicht\n"));
    const auto mitAufnahme = u.desktop.ablage.inhalt;
    ASSERT_EQ(*datenVon(mitAufnahme[0], ablagetyp::dateiUrl), dateiUrl(pfad) + "\r\n");
    // The owner answers again; a second capture comes before the first one's restore
    // was due. Neither writes anything back: the capture is not the user's.
    u.desktop.ablage.lesefehler.reset();
    u.steuerung->neuerScreenshot(bild("b.png"));
    u.desktop.uhr.vorwaerts(10);
    ASSERT_EQ(u.desktop.eingabe.einfuegungen.size(), 2u);
    EXPECT_FALSE(u.desktop.ablage.inhalt.empty()) << "not cleared";
    EXPECT_EQ(*datenVon(u.desktop.ablage.inhalt[0], ablagetyp::dateiUrl), dateiUrl(bild("b.png")) + "\r\n");
    EXPECT_EQ(u.desktop.ablage.lesungen, 1) << "the second delivery took over the first one's unknown save";
}

TEST_F(Zustellen, LangsamesSichernWartetAufDerLaufschleifeUndGibtAllesZurueck) {
    u.desktop.ablage.lesedauer = 4.0;  // a large image in many increments
    const double start = u.desktop.uhr.jetzt();
    u.steuerung->neuerScreenshot(bild("a.png"));
    u.desktop.uhr.vorwaerts(3.9);
    EXPECT_TRUE(tasten().empty()) << "nothing is pasted before the save is done";
    EXPECT_EQ(u.desktop.ablage.inhalt, nutzerAblage);
    u.desktop.uhr.vorwaerts(10);
    auto t = tasten();
    ASSERT_EQ(t.size(), 1u);
    EXPECT_NEAR(t[0]->zeit - start, 4.0 + 0.15, 1e-9);
    EXPECT_EQ(u.desktop.ablage.inhalt, nutzerAblage);
}

// ---- The end of the process ----

enum class Ende { sigterm, normal };

class Beenden : public Zustellen, public ::testing::WithParamInterface<Ende> {
protected:
    void beende() {
        if (GetParam() == Ende::sigterm) {
            ASSERT_TRUE(u.desktop.beendigung.signal());
            u.desktop.uhr.vorwaerts(0);  // the handler runs on the main thread
            EXPECT_EQ(u.desktop.uhr.beendet(), 0);
        } else {
            u.steuerung->beimBeenden();
        }
    }
    int anzahl(const std::string& eintrag) {
        const auto& j = u.desktop.journal.eintraege();
        return static_cast<int>(std::count(j.begin(), j.end(), eintrag));
    }
    int letzte(const std::string& eintrag) {
        const auto& j = u.desktop.journal.eintraege();
        for (int i = static_cast<int>(j.size()) - 1; i >= 0; --i)
            if (j[i] == eintrag) return i;
        return -1;
    }
};

TEST_P(Beenden, StelltVorschauUndAusstehendeAblageHerUndUebergibtSieDerVerwaltung) {
    u.desktop.ablage.verwalter = true;
    ASSERT_EQ(u.ud.text("vorschauVorher"), "fehlt") << "active: the preview is held off";
    u.steuerung->neuerScreenshot(bild("a.png"));
    u.desktop.uhr.vorwaerts(0.9 + 0.5);  // finished, its restore due in 1.0 s
    ASSERT_EQ(u.desktop.eingabe.einfuegungen.size(), 1u);
    ASSERT_NE(u.desktop.ablage.inhalt, nutzerAblage);
    beende();
    EXPECT_TRUE(u.ud.wert("vorschauVorher").isUndefined()) << "the preview setting is the user's again";
    EXPECT_EQ(u.desktop.ablage.inhalt, nutzerAblage);
    EXPECT_EQ(u.desktop.ablage.verwahrt, nutzerAblage) << "the manager got the user's contents";
    EXPECT_LT(letzte("ablage.schreibe"), letzte("ablage.uebergib")) << "restored first, then handed over";
    EXPECT_TRUE(imLog(" Zwischenablage beim Beenden zurückgegeben\n"));
    EXPECT_TRUE(imLog(" Zwischenablage an die Ablageverwaltung übergeben\n"));
    // A second ending (the quit that follows SIGTERM) does nothing more.
    u.steuerung->beimBeenden();
    EXPECT_EQ(anzahl("ablage.uebergib"), 1);
    u.desktop.uhr.vorwaerts(5);
    EXPECT_EQ(u.desktop.ablage.inhalt, nutzerAblage);
}

TEST_P(Beenden, MittenInDerZustellungKommtDieAblageDesNutzersZurueck) {
    u.desktop.ablage.verwalter = true;
    u.steuerung->neuerScreenshot(bild("a.png"));
    u.desktop.uhr.vorwaerts(0.1);  // on the pasteboard, waiting for the target
    ASSERT_NE(u.desktop.ablage.inhalt, nutzerAblage);
    beende();
    EXPECT_EQ(u.desktop.ablage.inhalt, nutzerAblage);
    EXPECT_EQ(u.desktop.ablage.verwahrt, nutzerAblage);
}

TEST_P(Beenden, EineKopieDesNutzersBleibtUndGehtAnDieVerwaltung) {
    u.desktop.ablage.verwalter = true;
    u.steuerung->neuerScreenshot(bild("a.png"));
    u.desktop.uhr.vorwaerts(1.0);
    const GesicherteAblage neu{{{"text/plain", "neu kopiert"}}};
    u.desktop.ablage.kopiere(neu);
    beende();
    EXPECT_EQ(u.desktop.ablage.inhalt, neu);
    EXPECT_EQ(u.desktop.ablage.verwahrt, neu);
    EXPECT_FALSE(imLog("Zwischenablage beim Beenden zurückgegeben"));
}

TEST_P(Beenden, NichtGesicherteAblageWirdAuchBeimBeendenNichtUeberschrieben) {
    u.desktop.ablage.lesefehler = "der Besitzer der Zwischenablage antwortet nicht";
    u.steuerung->neuerScreenshot(bild("a.png"));
    u.desktop.uhr.vorwaerts(1.0);
    const auto mitAufnahme = u.desktop.ablage.inhalt;
    beende();
    EXPECT_EQ(u.desktop.ablage.inhalt, mitAufnahme);
    EXPECT_EQ(anzahl("ablage.leere"), 0);
}

INSTANTIATE_TEST_SUITE_P(SigtermUndNormal, Beenden, ::testing::Values(Ende::sigterm, Ende::normal),
                         [](const auto& info) { return info.param == Ende::sigterm ? "Sigterm" : "Normal"; });

}  // namespace
}  // namespace klebwerk
