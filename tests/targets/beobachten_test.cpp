// Connected windows followed: closing, quitting, titles, the focus, and new windows of
// known applications.

#include <gtest/gtest.h>

#include "support/ziele_szenario.h"

namespace klebwerk {
namespace {

using test::ZieleSzenario;

class Beobachten : public ::testing::Test, public ZieleSzenario {
protected:
    void SetUp() override {
        chatUndEditor();
        starte();
    }
    std::shared_ptr<Ziel> verbinde(sim::SimKnoten* f, int pid) {
        s().setzeZiel(std::make_shared<Ziel>(s().ax, desktop.arbeitsplatz, f->element(), pid));
        desktop.uhr.laufeFaelliges();
        return s().ziel;
    }
    std::vector<std::string> titel() {
        std::vector<std::string> t;
        for (const auto& z : s().verbunden) t.push_back(z->titel);
        return t;
    }
};

TEST_F(Beobachten, EinGeschlossenesAktivesFensterVerlaesstDieListeUndNenntDasNeueZiel) {
    verbinde(chat, chatPid);
    verbinde(editor, editorPid);
    desktop.schliesseFenster(editor->nummer);
    desktop.uhr.laufeFaelliges();
    EXPECT_EQ(titel(), (std::vector<std::string>{"Gespräch"}));
    EXPECT_EQ(s().ziel->pid, chatPid);
    EXPECT_EQ(s().hinweis.text(), "Fenster geschlossen – Ziel jetzt: Gespräch");
}

TEST_F(Beobachten, EineBeendeteAppNimmtAlleIhreFensterMitUndLeertDieSchlange) {
    auto& zweites = fenster(chatPid, "Zweites");
    verbinde(chat, chatPid);
    verbinde(&zweites, chatPid);
    s().schlange = {"/tmp/a.png"};
    desktop.beendeAnwendung(chatPid);
    desktop.uhr.laufeFaelliges();
    EXPECT_TRUE(s().verbunden.empty());
    EXPECT_FALSE(s().ziel);
    EXPECT_TRUE(s().schlange.empty());
    EXPECT_EQ(s().hinweis.text(), "Zielfenster geschlossen – neues Ziel wählen");
}

TEST_F(Beobachten, EinNeuerTitelWirdUebernommen) {
    verbinde(chat, chatPid);
    desktop.setzeTitel(chat->nummer, "Neues Gespräch");
    desktop.uhr.laufeFaelliges();
    EXPECT_EQ(titel(), (std::vector<std::string>{"Neues Gespräch"}));
}

TEST_F(Beobachten, EineMeldungFegtAuchAndereUngueltigeFensterAus) {
    verbinde(chat, chatPid);
    verbinde(editor, editorPid);
    editor->sterbe();  // gone without a notification of its own
    desktop.setzeTitel(chat->nummer, "Anders");
    desktop.uhr.laufeFaelliges();
    EXPECT_EQ(titel(), (std::vector<std::string>{"Anders"}));
}

TEST_F(Beobachten, EinKlickInEinVerbundenesFensterMachtEsInnerhalbEinesTaktesAktivOhneRahmen) {
    verbinde(chat, chatPid);
    verbinde(editor, editorPid);
    vorwaerts(5.0);  // frame and hint of the choice are gone
    desktop.hebeFenster(chat->nummer);
    desktop.arbeitsplatz.aktiviere(chatPid, false);
    vorwaerts(0.4);
    EXPECT_EQ(s().ziel->pid, chatPid);
    EXPECT_FALSE(s().rahmen.sichtbar());
    EXPECT_FALSE(s().hinweis.sichtbar());
}

TEST_F(Beobachten, DerFokusFolgtNichtWaehrendEinesModusEinerZustellungUndZweiSekundenNachDemSenden) {
    verbinde(chat, chatPid);
    verbinde(editor, editorPid);
    vorwaerts(5.0);
    struct Fall {
        const char* name;
        std::function<void(Steuerung&)> vorher, nachher;
    };
    const std::vector<Fall> faelle = {
        {"Modus", [](Steuerung& s) { s.modus = Modus::wahl; }, [](Steuerung& s) { s.modus = Modus::keiner; }},
        {"Zustellung", [](Steuerung& s) { s.beschaeftigt = true; }, [](Steuerung& s) { s.beschaeftigt = false; }},
        {"Senden", [](Steuerung& s) { s.ruhigBis = s.schleife.jetzt() + 2.0; }, [](Steuerung&) {}},
    };
    for (const Fall& f : faelle) {
        ASSERT_EQ(s().ziel->pid, editorPid) << f.name;
        f.vorher(s());
        desktop.hebeFenster(chat->nummer);
        desktop.arbeitsplatz.aktiviere(chatPid, false);
        vorwaerts(1.2);
        EXPECT_EQ(s().ziel->pid, editorPid) << f.name;
        f.nachher(s());
        vorwaerts(1.2);
        EXPECT_EQ(s().ziel->pid, chatPid) << f.name << ": follows again afterwards";
        // Back to the editor for the next case.
        desktop.hebeFenster(editor->nummer);
        desktop.arbeitsplatz.aktiviere(editorPid, false);
        vorwaerts(0.4);
    }
}

TEST_F(Beobachten, EinNeuesFensterEinerBekanntenAppWirdMitHinweisVerbundenAbgewaehlteBleibenDraussen) {
    verbinde(chat, chatPid);
    vorwaerts(5.0);
    auto& neu = fenster(chatPid, "Entwurf");
    vorwaerts(2.0);
    ASSERT_EQ(s().verbunden.size(), 2u);
    EXPECT_EQ(s().verbunden.back()->nummer(), neu.nummer);
    EXPECT_EQ(s().verbunden.back()->platz, 2);
    EXPECT_EQ(s().hinweis.text(), "＋ Neues Fenster in der Liste: Entwurf");
    EXPECT_TRUE(imLog("Automatisch verbunden: Chat \u2013 Entwurf"));

    auto& ab = fenster(chatPid, "Abgewählt");
    s().setzeAbgewaehlt({ab.nummer});
    fenster(chatPid, "Drei");
    fenster(chatPid, "Vier");
    vorwaerts(2.0);
    EXPECT_EQ(s().verbunden.size(), 4u);
    EXPECT_EQ(s().hinweis.text(), "＋ 2 neue Fenster in der Liste");
    EXPECT_FALSE(s().verbundenMit(ab.element()));
}

TEST_F(Beobachten, EinFensterDasEinAusstehenderEintragBeanspruchtBleibtDerSpaetenVerbindung) {
    verbinde(chat, chatPid);
    s().ausstehend.push_back({{chatPid, 102, 4}, 0, "com.example.chat"});
    vorwaerts(5.0);
    auto& spaet = fenster(chatPid, "Beansprucht");
    ASSERT_EQ(spaet.nummer, 102u);
    vorwaerts(2.0);
    ASSERT_EQ(s().verbunden.size(), 2u);
    EXPECT_EQ(s().verbunden.front()->nummer(), 102u) << "connected by the late connection, at its old position";
    EXPECT_EQ(s().verbunden.front()->platz, 4);
}

TEST_F(Beobachten, NeueFensterEinerAppAusserhalbDerBekanntenBleibenDraussen) {
    verbinde(chat, chatPid);
    s().setzeAutoApps({});
    vorwaerts(5.0);
    fenster(chatPid, "Entwurf");
    fenster(editorPid, "zweite.txt");
    vorwaerts(4.0);
    EXPECT_EQ(s().verbunden.size(), 1u);
}

}  // namespace
}  // namespace klebwerk
