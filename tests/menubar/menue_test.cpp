// The status menu as the test file shows it, its toggles, and the status item's look.

#include <algorithm>

#include <gtest/gtest.h>

#include <QImage>

#include "basis/prozesswerte.h"
#include "menubar/leistenstand.h"
#include "menubar/menue.h"
#include "support/ziele_szenario.h"

namespace klebwerk {
namespace {

using test::ZieleSzenario;

class Menue : public ::testing::Test, public ZieleSzenario {
protected:
    void SetUp() override {
        chatUndEditor();
        starte();
    }
    void TearDown() override { setzeEnglisch(false); }
    std::string text() { return menueText(s().baueMenue()); }
    void verbindeAlle() {
        for (auto* f : {chat, editor}) {
            const int pid = f == chat ? chatPid : editorPid;
            s().setzeZiel(std::make_shared<Ziel>(s().ax, desktop.arbeitsplatz, f->element(), pid));
        }
        desktop.uhr.laufeFaelliges();
    }
    // Runs the action of the item whose title begins with `titel`.
    void waehle(const std::string& titel) {
        for (const auto& e : s().baueMenue()) {
            if (e.titel.rfind(titel, 0) == 0 && e.aktion) {
                e.aktion();
                desktop.uhr.laufeFaelliges();
                return;
            }
        }
        FAIL() << "no item " << titel;
    }
};

TEST_F(Menue, FrischAufDeutsch) {
    EXPECT_EQ(text(),
              "  Kein Zielfenster gewählt\n"
              "  Zielfenster anklicken …\n"
              "  Fenster wählen ▸ 2 Einträge\n"
              "---\n"
              "  Pausieren\n"
              "✓ Bildschirmaufnahmen einfügen\n"
              "  Danach aus Downloads in den Papierkorb\n"
              "  Nach dem Einfügen sofort senden\n"
              "  Nach dem Einfügen Diktat starten\n"
              "---\n"
              "✓ Bedienfeld anzeigen\n"
              "  Beim Anmelden starten\n"
              "  Auf Englisch umstellen (English)\n"
              "---\n"
              "  Beenden\n");
}

TEST_F(Menue, FrischAufEnglisch) {
    setzeEnglisch(true);
    EXPECT_EQ(text(),
              "  No target window chosen\n"
              "  Click target window …\n"
              "  Choose window ▸ 2 Einträge\n"
              "---\n"
              "  Pause\n"
              "✓ Paste screen recordings\n"
              "  Then move from Downloads to Trash\n"
              "  Send right after pasting\n"
              "  Start dictation after pasting\n"
              "---\n"
              "✓ Show panel\n"
              "  Open at login\n"
              "  Switch to German (Deutsch)\n"
              "---\n"
              "  Quit\n");
}

TEST_F(Menue, MitEinemZielKeineListeMitZweienDieListeMitHaken) {
    s().setzeZiel(std::make_shared<Ziel>(s().ax, desktop.arbeitsplatz, chat->element(), chatPid));
    desktop.uhr.laufeFaelliges();
    std::string t = text();
    EXPECT_NE(t.find("  Ziel: Chat – Gespräch\n  Zielfenster anklicken …\n  Fenster wählen ▸ 2 Einträge\n  Ziel aufheben\n---\n"),
              std::string::npos)
        << t;
    verbindeAlle();
    t = text();
    EXPECT_NE(t.find("  Fenster wählen ▸ 2 Einträge\n     Gespräch\n✓    notizen.txt\n  Ziel aufheben\n"), std::string::npos)
        << t;
}

TEST_F(Menue, EinGelernterDiktatknopfUndDiktatZeigenIhreEintraege) {
    s().setzeMerkmal(KnopfArt::diktat, KnopfMerkmal{"AXButton", "", "btn mic"});
    s().ud.setzeWahr("diktatAn", true);
    const std::string t = text();
    EXPECT_NE(t.find("✓ Nach dem Einfügen Diktat starten\n✓ Nach dem Diktat senden\n  Diktat-Knopf neu festlegen … (ohne Namen)\n"),
              std::string::npos)
        << t;
}

TEST_F(Menue, OhneFreigabeDreiEintraegeUndDasWarnsymbol) {
    s().vertraut = false;
    s().ud.setzeWahr("pausiert", true);
    EXPECT_EQ(text(), "  Freigabe „Bedienungshilfen“ erteilen …\n---\n  Beenden\n");
    s().aktualisiereLeiste();
    EXPECT_EQ(s().leistenAnzeige.symbol, "exclamationmark.triangle");
}

TEST_F(Menue, AbsendenUndDiktatSchliessenEinanderAus) {
    s().setzeMerkmal(KnopfArt::diktat, KnopfMerkmal{"AXButton", "Diktat", ""});
    waehle("Nach dem Einfügen Diktat starten");
    EXPECT_TRUE(s().diktat());
    s().diktatLaeuft = true;
    waehle("Nach dem Einfügen sofort senden");
    EXPECT_TRUE(s().absenden());
    EXPECT_FALSE(s().diktat());
    EXPECT_FALSE(s().diktatLaeuft) << "a running dictation ends";
    waehle("Nach dem Einfügen Diktat starten");
    EXPECT_TRUE(s().diktat());
    EXPECT_FALSE(s().absenden());
}

TEST_F(Menue, DiktatOhneGelerntenKnopfStartetDasLernen) {
    waehle("Nach dem Einfügen Diktat starten");
    EXPECT_EQ(s().modus, Modus::lernen);
    EXPECT_FALSE(s().diktat());
}

TEST_F(Menue, DieSchalterKehrenIhreEinstellungUm) {
    for (const auto& [titel, schluessel] : std::vector<std::pair<std::string, std::string>>{
             {"Pausieren", "pausiert"},
             {"Bildschirmaufnahmen einfügen", "aufnahmen"},
             {"Danach aus Downloads", "papierkorb"},
             {"Bedienfeld anzeigen", "feldSichtbar"}}) {
        const bool vorher = s().ud.istWahr(schluessel);
        waehle(titel);
        EXPECT_EQ(s().ud.istWahr(schluessel), !vorher) << titel;
    }
    s().ud.setzeWahr("diktatAn", true);
    waehle("Nach dem Diktat senden");
    EXPECT_FALSE(s().diktatSenden());
}

TEST_F(Menue, DieAnmeldungSchaltetHinUndZurueck) {
    waehle("Beim Anmelden starten");
    EXPECT_NE(text().find("✓ Beim Anmelden starten"), std::string::npos);
    waehle("Beim Anmelden starten");
    EXPECT_EQ(desktop.anmeldeobjekt.wert, Anmeldeobjekt::nichtAngemeldet);
}

TEST_F(Menue, DasFensterUntermenueWaehltDasZiel) {
    for (const auto& e : s().baueMenue()) {
        if (e.titel != "Fenster wählen") continue;
        ASSERT_EQ(e.unter.size(), 2u);
        EXPECT_EQ(e.unter[1].titel, "Editor – notizen.txt");
        e.unter[1].aktion();
    }
    desktop.uhr.laufeFaelliges();
    ASSERT_TRUE(s().ziel);
    EXPECT_EQ(s().ziel->pid, editorPid);
}

TEST_F(Menue, SymbolFolgtPauseUndZiel) {
    s().aktualisiereLeiste();
    EXPECT_EQ(s().leistenAnzeige, (LeistenStand{"scope", "", "Kein Zielfenster gewählt"}));
    s().setzeZiel(std::make_shared<Ziel>(s().ax, desktop.arbeitsplatz, chat->element(), chatPid));
    desktop.uhr.laufeFaelliges();
    EXPECT_EQ(s().leistenAnzeige, (LeistenStand{"dot.scope", " Gespräch", "Ziel: Chat – Gespräch"}));
    waehle("Pausieren");
    EXPECT_EQ(s().leistenAnzeige.symbol, "pause.circle");
}

TEST_F(Menue, DerSprachwechselSpeichertStartetNeuOhneShellUndBeendet) {
    waehle("Auf Englisch umstellen");
    EXPECT_EQ(s().ud.text("sprache"), "en");
    EXPECT_TRUE(imLog("Sprache gewechselt auf en, Neustart"));
    ASSERT_EQ(desktop.neustart.nachEnde.size(), 1u);
    EXPECT_EQ(desktop.neustart.nachEnde[0].programm, "/usr/bin/klebwerk");
    EXPECT_TRUE(desktop.neustart.nachEnde[0].argumente.empty());
    EXPECT_DOUBLE_EQ(desktop.neustart.nachEnde[0].verzoegerung, 0.8);
    EXPECT_EQ(desktop.uhr.beendet(), 0);
}

TEST_F(Menue, OhneMoeglichenNeustartBleibtKlebwerkUndSagtEs) {
    desktop.neustart.moeglich = false;
    waehle("Auf Englisch umstellen");
    EXPECT_EQ(s().ud.text("sprache"), "en");
    EXPECT_FALSE(desktop.uhr.beendet());
    EXPECT_EQ(s().hinweis.text(), "Neustart nicht möglich – die Sprache wechselt beim nächsten Start");
    EXPECT_TRUE(imLog("Neustart nicht möglich, die Sprache wechselt beim nächsten Start"));
}

struct NamensFall {
    std::string name;
    std::string gezeigt;
};

class LeistenName : public ::testing::TestWithParam<NamensFall> {};

TEST_P(LeistenName, UeberAchtzehnZeichenWerdenSiebzehnUndAuslassung) {
    EXPECT_EQ(leistenName(GetParam().name), GetParam().gezeigt);
}

INSTANTIATE_TEST_SUITE_P(
    Tabelle, LeistenName,
    ::testing::Values(NamensFall{"12345678901234567", "12345678901234567"},
                      NamensFall{"123456789012345678", "123456789012345678"},
                      NamensFall{"1234567890123456789", "12345678901234567…"},
                      // Characters, not bytes: umlauts and an emoji with its modifier count once.
                      NamensFall{"äöüäöüäöüäöüäöüäöüä", "äöüäöüäöüäöüäöüäö…"},
                      NamensFall{"Chat 👍🏽👍🏽👍🏽👍🏽👍🏽👍🏽👍🏽👍🏽👍🏽👍🏽👍🏽👍🏽👍🏽👍🏽", "Chat 👍🏽👍🏽👍🏽👍🏽👍🏽👍🏽👍🏽👍🏽👍🏽👍🏽👍🏽👍🏽…"}));

TEST_F(Menue, MenuebildZeigtDasMenueWieEsJetztAufgeht) {
    const auto bild = [this] {
        s().testBefehl("menuebild");
        desktop.uhr.laufeFaelliges();
        return QImage(QString::fromStdString(heim.daten("menue.png")));
    };
    const auto zeilen = [this] {
        const std::string t = text();
        return std::count(t.begin(), t.end(), '\n');
    };
    const QImage leer = bild();
    const auto zeilenLeer = zeilen();
    ASSERT_FALSE(leer.isNull());
    // Every item is a row of its own: the menu with two targets has more rows, so its
    // picture is taller, and the menu's items are drawn on an opaque ground.
    verbindeAlle();
    const QImage voll = bild();
    ASSERT_FALSE(voll.isNull());
    ASSERT_GT(zeilen(), zeilenLeer) << text();
    EXPECT_GT(voll.height(), leer.height());
    EXPECT_EQ(voll.pixelColor(voll.width() / 2, voll.height() / 2).alpha(), 255);
}

}  // namespace
}  // namespace klebwerk
