// Browser windows on the simulated desktop: connected while their tab shows an AI chat
// or a focused field of a page, named after it, dropped when the tab changes, and the
// page's input field found for the paste.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "support/testbild.h"
#include "support/ziele_szenario.h"

namespace klebwerk {
namespace {

using test::ZieleSzenario;

constexpr int browserPid = 700;

// A browser in front whose window holds a tool bar and a page: a heading, an enabled
// and a disabled text area, and a search field.
class Browser : public ::testing::Test, public ZieleSzenario {
protected:
    sim::SimKnoten* fenster = nullptr;
    sim::SimKnoten* web = nullptr;
    sim::SimKnoten* chatFeld = nullptr;
    sim::SimKnoten* gesperrt = nullptr;
    sim::SimKnoten* suche = nullptr;
    sim::SimKnoten* adressleiste = nullptr;

    void SetUp() override {
        chatUndEditor();
        app(browserPid, "Chromium", "org.chromium.Chromium");
        fenster = &this->ZieleSzenario::fenster(browserPid, "Neuer Chat - Chromium");
        auto& leiste = fenster->kind("AXToolbar");
        adressleiste = &leiste.kind("AXTextField", {{"AXValue", "chatgpt.com"}});
        auto& huelle = fenster->kind("AXGroup");
        web = &huelle.kind("AXWebArea", {{"AXURL", "https://chatgpt.com/c/1"}});
        web->kind("AXHeading", {{"AXTitle", "Antworten"}});
        chatFeld = &web->kind("AXTextArea", {{"AXValue", "  Hallo Welt \n"}});
        gesperrt = &web->kind("AXTextArea", {{"AXEnabled", false}});
        suche = &web->kind("AXSearchField");
        desktop.arbeitsplatz.vorne = browserPid;
        starte();
    }

    void setzeFokus(sim::SimKnoten* k) {
        auto& b = desktop.ax.baum(browserPid);
        if (!k) {
            b.fokus.reset();
            return;
        }
        for (auto& kind : k->eltern->kinder) {
            if (kind.get() == k) b.fokus = kind;
        }
    }
    std::shared_ptr<Ziel> browserZiel() {
        for (const auto& z : s().verbunden) {
            if (z->pid == browserPid) return z;
        }
        return nullptr;
    }
    void fokusTakt() {
        s().pruefeFokus();
        desktop.uhr.laufeFaelliges();
    }
};

TEST_F(Browser, EinKiChatVorneWirdVerbundenBenanntUndAktiv) {
    fokusTakt();
    auto z = browserZiel();
    ASSERT_TRUE(z);
    EXPECT_EQ(z->ki, "ChatGPT");
    EXPECT_FALSE(z->perFeld);
    EXPECT_EQ(s().ziel, z);
    EXPECT_EQ(s().name(z), "ChatGPT \u00b7 Chromium");
    EXPECT_TRUE(imLog("Browser-KI erkannt: ChatGPT \u00b7 Chromium"));
    EXPECT_EQ(s().hinweis.text(), "\u2713 Ziel: ChatGPT \u00b7 Chromium");
}

TEST_F(Browser, EineSeiteOhneKiWirdNichtVerbundenUndNichtsProtokolliert) {
    web->setze("AXURL", "https://www.example.org/");
    fokusTakt();
    EXPECT_FALSE(browserZiel());
    EXPECT_FALSE(imLog("Browser-KI erkannt"));
}

TEST_F(Browser, EinFokussiertesFeldEinerSeiteVerbindetMitDemHostUndEinTabwechselEntferntEs) {
    web->setze("AXURL", "https://www.example.org/suche");
    setzeFokus(suche);
    fokusTakt();
    auto z = browserZiel();
    ASSERT_TRUE(z);
    EXPECT_EQ(z->ki, "example.org");
    EXPECT_TRUE(z->perFeld);

    // The tab changes to a page without a focused field; its title change re-evaluates.
    web->setze("AXURL", "https://www.example.org/artikel");
    setzeFokus(nullptr);
    desktop.setzeTitel(fenster->nummer, "Artikel - Chromium");
    desktop.uhr.laufeFaelliges();
    EXPECT_FALSE(browserZiel());
    EXPECT_TRUE(imLog("Browser-Tab ohne KI-Chat/Eingabefeld, aus der Liste: Chromium \u2013 Artikel - Chromium"));
}

TEST_F(Browser, EinTabDerZwischenZweiFokusabfragenWegUndZurueckWechseltWirdWiederVerbunden) {
    fokusTakt();
    ASSERT_TRUE(browserZiel());
    // Away to an ordinary page and back to the chat, both between two polls.
    web->setze("AXURL", "https://www.example.org/");
    desktop.setzeTitel(fenster->nummer, "Artikel - Chromium");
    desktop.uhr.laufeFaelliges();
    ASSERT_FALSE(browserZiel());
    web->setze("AXURL", "https://chatgpt.com/c/1");
    desktop.setzeTitel(fenster->nummer, "Neuer Chat - Chromium");
    desktop.uhr.laufeFaelliges();
    fokusTakt();
    ASSERT_TRUE(browserZiel());
    EXPECT_EQ(browserZiel()->ki, "ChatGPT");
}

TEST_F(Browser, DasAdressfeldDesBrowsersIstKeinFeldDerSeite) {
    web->setze("AXURL", "https://www.example.org/");
    setzeFokus(adressleiste);
    fokusTakt();
    EXPECT_FALSE(browserZiel());
}

TEST_F(Browser, ImHintergrundBleibtDerLetzteStandBisDerBrowserWiederVorneIst) {
    web->setze("AXURL", "https://www.example.org/");
    setzeFokus(suche);
    fokusTakt();
    auto z = browserZiel();
    ASSERT_TRUE(z);
    desktop.arbeitsplatz.vorne = chatPid;
    setzeFokus(nullptr);
    EXPECT_TRUE(s().bewerteBrowser(z));
    EXPECT_EQ(z->ki, "example.org");
    desktop.arbeitsplatz.vorne = browserPid;
    EXPECT_FALSE(s().bewerteBrowser(z));
    EXPECT_FALSE(z->ki);
}

TEST_F(Browser, EinVomNutzerEntferntesFensterKommtDurchFokusNichtWieder) {
    fokusTakt();
    auto z = browserZiel();
    ASSERT_TRUE(z);
    s().merkeAbgewaehlt(z);
    s().entferne(z, true);
    s().letzterFokus.reset();
    fokusTakt();
    EXPECT_FALSE(browserZiel());
}

TEST_F(Browser, OhneLesbareAdresseEntscheidetDerTitel) {
    web->fehlerhaft.insert("AXURL");
    EXPECT_FALSE(s().kiSeite(Ziel(s().ax, desktop.arbeitsplatz, fenster->element(), browserPid)));
    desktop.setzeTitel(fenster->nummer, "Projekt \u2013 Claude - Chromium");
    EXPECT_EQ(s().kiSeite(Ziel(s().ax, desktop.arbeitsplatz, fenster->element(), browserPid)), "Claude");
    // An address that is there but makes no URL: no AI chat, whatever the title says.
    web->fehlerhaft.clear();
    web->setze("AXURL", "http://[kaputt");
    EXPECT_FALSE(s().kiSeite(Ziel(s().ax, desktop.arbeitsplatz, fenster->element(), browserPid)));
}

TEST_F(Browser, EinChromiumOhneSeiteImBaumWirdEinmalGemeldetUndNachDemTitelErkannt) {
    auto& zweites = this->ZieleSzenario::fenster(browserPid, "ChatGPT - Chromium");
    auto& drittes = this->ZieleSzenario::fenster(browserPid, "Gemini - Chromium");
    EXPECT_EQ(s().kiSeite(Ziel(s().ax, desktop.arbeitsplatz, zweites.element(), browserPid)), "ChatGPT");
    const std::string zeile = "Browser zeigt seine Seiten nicht (Chromium)";
    EXPECT_FALSE(imLog(zeile)) << "the pages may still be on their way";
    vorwaerts(10.5);
    EXPECT_EQ(s().kiSeite(Ziel(s().ax, desktop.arbeitsplatz, drittes.element(), browserPid)), "Gemini");
    EXPECT_EQ(s().kiSeite(Ziel(s().ax, desktop.arbeitsplatz, zweites.element(), browserPid)), "ChatGPT");
    const std::string log = heim.protokoll();
    ASSERT_NE(log.find(zeile), std::string::npos) << log;
    EXPECT_EQ(log.find(zeile), log.rfind(zeile));
}

TEST_F(Browser, DieWebflaecheJenseitsDesBudgetsEinesBreitenFenstersWirdNichtGefunden) {
    // 5000 siblings before the page: breadth first, the page is element 5002.
    auto& breit = this->ZieleSzenario::fenster(browserPid, "Breit");
    for (int i = 0; i < 5000; ++i) breit.kind("AXStaticText");
    breit.kind("AXWebArea", {{"AXURL", "https://claude.ai/"}});
    const auto vorher = desktop.ax.anfragen;
    EXPECT_FALSE(s().webBereich(Ziel(s().ax, desktop.arbeitsplatz, breit.element(), browserPid)));
    EXPECT_LE(desktop.ax.anfragen - vorher, 3000 + 10);

    auto& knapp = this->ZieleSzenario::fenster(browserPid, "Knapp");
    for (int i = 0; i < 2990; ++i) knapp.kind("AXStaticText");
    knapp.kind("AXWebArea", {{"AXURL", "https://claude.ai/"}});
    EXPECT_TRUE(s().webBereich(Ziel(s().ax, desktop.arbeitsplatz, knapp.element(), browserPid)));
}

TEST_F(Browser, DieRollenabfrageFindetDieselbeWebflaeche) {
    const Ziel z(s().ax, desktop.arbeitsplatz, fenster->element(), browserPid);
    const auto gegangen = s().webBereich(z);
    desktop.ax.kandidatenAbfrage = true;
    EXPECT_EQ(s().webBereich(z), gegangen);
    EXPECT_EQ(gegangen, web->element());
}

TEST_F(Browser, DieEingabeUeberspringtEinGesperrtesTextfeldUndFokussiertDasLetzteFreie) {
    fokusTakt();
    auto z = browserZiel();
    ASSERT_TRUE(z);
    setzeFokus(adressleiste);
    EXPECT_TRUE(s().browserEingabe(z));
    EXPECT_EQ(desktop.ax.baum(browserPid).fokus.get(), chatFeld);
    EXPECT_TRUE(imLog("Browser-Modus: Eingabefeld der Seite fokussiert"));
    EXPECT_EQ(s().eingabeText(z), "Hallo Welt");
}

TEST_F(Browser, EinFokussiertesFeldDerSeiteBleibtUndOhneFeldWirdEsProtokolliert) {
    fokusTakt();
    auto z = browserZiel();
    ASSERT_TRUE(z);
    // A text area of the page has the focus: nothing is searched.
    setzeFokus(chatFeld);
    EXPECT_TRUE(s().browserEingabe(z));
    EXPECT_EQ(desktop.ax.baum(browserPid).fokus.get(), chatFeld);
    EXPECT_FALSE(imLog("Browser-Modus:"));

    setzeFokus(nullptr);
    chatFeld->sterbe();
    gesperrt->sterbe();
    web->kinder.clear();
    EXPECT_TRUE(s().browserEingabe(z));
    EXPECT_TRUE(imLog("Browser-Modus: kein Eingabefeld in der Seite gefunden"));
}

TEST_F(Browser, KeinBrowserUndKeineWebflaecheLassenDieEingabeDemFenster) {
    auto chatZiel = std::make_shared<Ziel>(s().ax, desktop.arbeitsplatz, chat->element(), chatPid);
    EXPECT_FALSE(s().browserEingabe(chatZiel));
    auto& ohne = this->ZieleSzenario::fenster(browserPid, "Leer");
    EXPECT_FALSE(s().browserEingabe(std::make_shared<Ziel>(s().ax, desktop.arbeitsplatz, ohne.element(), browserPid)));
}

TEST_F(Browser, DieZustellungVerweigertEinBrowserzielOhneChat) {
    fokusTakt();
    ASSERT_TRUE(browserZiel());
    // The tab changed without a title change, while another application is in front.
    web->setze("AXURL", "https://www.example.org/");
    desktop.arbeitsplatz.vorne = editorPid;
    QTemporaryDir ordner;
    const std::string pfad = test::schreibeTestbild(ordner, "aufnahme.png");
    ASSERT_FALSE(pfad.empty());
    s().neuerScreenshot(pfad);
    vorwaerts(5);
    EXPECT_TRUE(imLog("Nicht eingefügt, im Browserfenster ist kein KI-Chat offen: aufnahme.png"));
    EXPECT_TRUE(desktop.eingabe.einfuegungen.empty());
}

TEST_F(Browser, TestbefehleZeigenUndVerbindenBrowserfenster) {
    s().testBefehl("browserfokus|Chromium|Neuer Chat");
    ASSERT_TRUE(browserZiel());
    s().testBefehl("ki");
    EXPECT_EQ(heim.lies(heim.daten("ki.txt")), "ChatGPT \u00b7 Chromium | ki=ChatGPT | jetzt=ChatGPT");

    setzeFokus(chatFeld);
    s().testBefehl("url|Chromium|Neuer Chat");
    const std::string url = heim.lies(heim.daten("url.txt"));
    EXPECT_EQ(url.substr(0, url.find(" attrs=")),
              "nr=" + std::to_string(fenster->nummer) +
                  " browser=true web=true feldAktiv=true fokus=AXTextArea imFenster=true inWeb=true"
                  " url=https://chatgpt.com/c/1");
    EXPECT_NE(url.find("\nrollen: [\"AXGroup\", \"AXHeading\", \"AXSearchField\", \"AXTextArea\", \"AXTextField\", "
                       "\"AXToolbar\", \"AXWebArea\", \"AXWindow\"]"),
              std::string::npos)
        << url;
    s().testBefehl("url|Chromium|gibt es nicht");
    EXPECT_EQ(heim.lies(heim.daten("url.txt")), "kein Fenster");

    // A page that is no chat, connected by its field from outside while the browser is
    // in the background (in front, its unfocused field would be judged at once).
    desktop.arbeitsplatz.vorne = editorPid;
    auto& zweites = this->ZieleSzenario::fenster(browserPid, "Suche - Chromium");
    zweites.kind("AXWebArea", {{"AXURL", "https://www.example.org/"}});
    s().testBefehl("feldziel|Chromium|Suche");
    ASSERT_EQ(s().verbunden.size(), 2u);
    EXPECT_EQ(s().ziel->ki, "example.org");
    EXPECT_TRUE(s().ziel->perFeld);
}

}  // namespace
}  // namespace klebwerk
