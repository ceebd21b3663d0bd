// Dictation on the simulated desktop and the virtual clock: the learned button pressed
// after a paste or by the shortcut, and the watch that sends once the dictated text
// has settled.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "support/testbild.h"
#include "support/ziele_szenario.h"

namespace klebwerk {
namespace {

using test::ZieleSzenario;

constexpr int zweiterPid = 300;
const KnopfMerkmal diktatKnopf{"AXButton", "Diktat starten", ""};

// A chat window as a chat app shows it: an input field and a dictation button that
// hides while it records.
struct ChatFenster {
    sim::SimKnoten* fenster = nullptr;
    sim::SimKnoten* feld = nullptr;
    std::shared_ptr<sim::SimKnoten> knopf;

    void baue(sim::SimKnoten& f) {
        fenster = &f;
        feld = &f.kind("AXTextArea", {{"AXValue", ""}});
        auto& k = f.kind("AXButton", {{"AXTitle", "Diktat starten"}});
        k.aktionen = {"AXPress"};
        knopf = f.kinder.back();
    }
    void versteckeKnopf() { std::erase(fenster->kinder, knopf); }
    void zeigeKnopf() {
        if (std::find(fenster->kinder.begin(), fenster->kinder.end(), knopf) == fenster->kinder.end())
            fenster->kinder.push_back(knopf);
    }
    void schreibe(const std::string& text) { feld->setze("AXValue", text); }
};

class Diktat : public ::testing::Test, public ZieleSzenario {
protected:
    ChatFenster a, b;

    void SetUp() override {
        chatUndEditor();
        a.baue(*chat);
        app(zweiterPid, "Zweiter Chat", "com.example.zweiter");
        b.baue(fenster(zweiterPid, "Zweites Gespräch"));
        desktop.arbeitsplatz.vorne = editorPid;
        starte();
        s().setzeMerkmal(KnopfArt::diktat, diktatKnopf);
        s().ud.setzeWahr("diktatSenden", true);
        s().setzeZiel(zielFuer(a, chatPid));
        desktop.uhr.laufeFaelliges();
        vorwaerts(3);  // hints of the choice are gone
        desktop.eingabe.gepostet.clear();
    }

    std::shared_ptr<Ziel> zielFuer(const ChatFenster& c, int pid) {
        if (auto z = s().verbundenMit(c.fenster->element())) return z;
        return std::make_shared<Ziel>(s().ax, desktop.arbeitsplatz, c.fenster->element(), pid);
    }
    int returns() const {
        int n = 0;
        for (const auto& g : desktop.eingabe.gepostet) n += g.art == "taste" && g.code == 36 && g.runter;
        return n;
    }
    // Steps the clock until the first Return, up to `sekunden`; the time it went out,
    // and the application then in front, which received it.
    std::optional<std::pair<double, int>> ersterReturn(double sekunden) {
        const double ende = desktop.uhr.jetzt() + sekunden;
        while (desktop.uhr.jetzt() < ende) {
            vorwaerts(0.05);
            for (const auto& g : desktop.eingabe.gepostet) {
                if (g.art == "taste" && g.code == 36) return std::pair{g.zeit, g.pid.value_or(desktop.arbeitsplatz.vorne.value_or(0))};
            }
        }
        return std::nullopt;
    }
    double startzeit = 0;
    void starteUndDruecke(ChatFenster& c, int pid) {
        startzeit = desktop.uhr.jetzt();
        s().starteDiktat(zielFuer(c, pid));
        vorwaerts(0.01);
        ASSERT_EQ(c.knopf->gedrueckt, 1);
    }
};

TEST_F(Diktat, DerKnopfVerschwindetKommtWiederUndNach1_2SekundenRuheWirdGesendet) {
    starteUndDruecke(a, chatPid);
    EXPECT_TRUE(imLog("Diktat gestartet"));
    EXPECT_EQ(s().hinweis.text(), "● Diktat läuft – einfach sprechen");
    EXPECT_TRUE(s().diktatLaeuft);
    a.versteckeKnopf();
    vorwaerts(1.0);
    a.schreibe("Hallo");
    vorwaerts(1.0);
    a.schreibe("Hallo Welt");
    const double letzteAenderung = desktop.uhr.jetzt();
    vorwaerts(0.5);
    a.zeigeKnopf();
    auto r = ersterReturn(5);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->second, chatPid);
    // The change is seen at the next tick; 1.2 s of quiet counts from there.
    EXPECT_GE(r->first - letzteAenderung, 1.2);
    EXPECT_LE(r->first - letzteAenderung, 1.2 + 2 * 0.6 + 0.3);
    EXPECT_FALSE(s().diktatLaeuft);
    vorwaerts(1);
    EXPECT_EQ(desktop.arbeitsplatz.vorne, editorPid) << "the user is back where they were";
}

TEST_F(Diktat, EinKnopfDerSichNieAendertSendetNachVierSekundenUndDreiSekundenRuhe) {
    starteUndDruecke(a, chatPid);
    vorwaerts(1.0);
    a.schreibe("Ein Satz");
    const double geschrieben = desktop.uhr.jetzt();
    auto r = ersterReturn(10);
    ASSERT_TRUE(r);
    EXPECT_GT(r->first - startzeit, 4.0);
    EXPECT_GE(r->first - geschrieben, 3.0);
    EXPECT_LE(r->first - geschrieben, 3.0 + 2 * 0.6 + 0.3);
}

TEST_F(Diktat, TextDerSchonImFeldStandZaehltNichtAlsNeu) {
    a.schreibe("alter Entwurf");
    starteUndDruecke(a, chatPid);
    EXPECT_FALSE(ersterReturn(8)) << "the initial text is no dictated text";
    a.schreibe("alter Entwurf und neu");
    EXPECT_TRUE(ersterReturn(8));
}

TEST_F(Diktat, EinAbgebrochenesDiktatSendetNichtsUndEndetNach25Sekunden) {
    starteUndDruecke(a, chatPid);
    a.versteckeKnopf();
    vorwaerts(2);
    a.zeigeKnopf();
    const double zurueck = desktop.uhr.jetzt();
    vorwaerts(24);
    EXPECT_TRUE(s().diktatLaeuft);
    vorwaerts(2.5);
    EXPECT_FALSE(s().diktatLaeuft);
    EXPECT_TRUE(imLog("Diktat ohne Text beendet"));
    EXPECT_EQ(returns(), 0);
    EXPECT_GT(desktop.uhr.jetzt() - zurueck, 25.0);
}

TEST_F(Diktat, EinGeschlossenesFensterBeendetDieWacheOhneSenden) {
    starteUndDruecke(a, chatPid);
    a.versteckeKnopf();
    a.schreibe("halb");
    vorwaerts(1.3);
    desktop.schliesseFenster(a.fenster->nummer);
    vorwaerts(3);
    EXPECT_FALSE(s().diktatLaeuft);
    EXPECT_EQ(returns(), 0);
}

TEST_F(Diktat, DieWacheEndetNach600Sekunden) {
    starteUndDruecke(a, chatPid);
    vorwaerts(599 - (desktop.uhr.jetzt() - startzeit));
    EXPECT_TRUE(s().diktatLaeuft);
    vorwaerts(2);
    EXPECT_FALSE(s().diktatLaeuft);
    EXPECT_EQ(returns(), 0);
}

TEST_F(Diktat, EinZweiterStartWaehrendDerWacheDruecktNichtNochEinmal) {
    starteUndDruecke(a, chatPid);
    s().starteDiktat(zielFuer(a, chatPid));
    vorwaerts(2);
    EXPECT_EQ(a.knopf->gedrueckt, 1);
}

TEST_F(Diktat, OhneSendenNachDiktatEndetDerStartGleichNachDemDruck) {
    s().ud.setzeWahr("diktatSenden", false);
    starteUndDruecke(a, chatPid);
    EXPECT_FALSE(s().diktatLaeuft);
}

TEST_F(Diktat, OhneKnopfImFensterGibtEsHinweisUndProtokoll) {
    a.versteckeKnopf();
    s().starteDiktat(zielFuer(a, chatPid));
    vorwaerts(0.01);
    EXPECT_FALSE(s().diktatLaeuft);
    EXPECT_EQ(s().hinweis.text(), "Diktat-Knopf im Zielfenster nicht gefunden");
    EXPECT_TRUE(imLog("Diktat: Knopf nicht gefunden"));
}

TEST_F(Diktat, EinInzwischenGestoppterStartDruecktNichts) {
    // Started for one target, stopped and started for another before the first search
    // came back: only the second button is pressed.
    s().starteDiktat(zielFuer(a, chatPid));
    s().stoppeDiktat();
    s().starteDiktat(zielFuer(b, zweiterPid));
    vorwaerts(0.01);
    EXPECT_EQ(a.knopf->gedrueckt, 0);
    EXPECT_EQ(b.knopf->gedrueckt, 1);
}

TEST_F(Diktat, DasErgebnisEinerBeendetenWacheSendetNichtInDerNeuen) {
    // Ticks at start + 0.6 k: at 0.6 the button is gone, at 1.2 it is back with new
    // text, and the tick at 2.4 would send after 1.2 s of quiet.
    starteUndDruecke(a, chatPid);
    a.versteckeKnopf();
    vorwaerts(startzeit + 0.7 - desktop.uhr.jetzt());
    a.schreibe("fertig gesprochen");
    a.zeigeKnopf();
    vorwaerts(startzeit + 1.9 - desktop.uhr.jetzt());
    EXPECT_EQ(returns(), 0);
    // From now on each read of the first chat takes long: the tick at 2.4 is still
    // reading when dictation moves on to the second chat at 2.45.
    desktop.ax.baum(chatPid).kosten = 0.05;
    Marke umschalten = desktop.uhr.nach(startzeit + 2.45 - desktop.uhr.jetzt(), [this] {
        s().stoppeDiktat();
        s().starteDiktat(zielFuer(b, zweiterPid));
    });
    vorwaerts(3);
    EXPECT_EQ(b.knopf->gedrueckt, 1);
    EXPECT_EQ(returns(), 0) << "nothing is sent for the ended watch";
    EXPECT_TRUE(s().diktatLaeuft) << "the second chat's watch runs on";
}

TEST_F(Diktat, DieWacheSendetInIhrZielAuchWennDasAktiveZielWechselt) {
    starteUndDruecke(a, chatPid);
    a.versteckeKnopf();
    vorwaerts(0.7);
    a.schreibe("für den ersten Chat");
    a.zeigeKnopf();
    s().setzeZiel(zielFuer(b, zweiterPid));
    auto r = ersterReturn(5);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->second, chatPid);
}

TEST_F(Diktat, AbgeschaltetesSendenNachDiktatLaesstDenTextUngesendet) {
    starteUndDruecke(a, chatPid);
    a.versteckeKnopf();
    vorwaerts(0.7);
    a.schreibe("nicht senden");
    s().testBefehl("diktatsenden|0");
    a.zeigeKnopf();
    EXPECT_FALSE(ersterReturn(5));
    EXPECT_FALSE(s().diktatLaeuft);
}

TEST_F(Diktat, DasKuerzelBringtDasZielNachVornUndStartetDasDiktat) {
    s().kuerzelGedrueckt(2);
    vorwaerts(1);
    EXPECT_TRUE(imLog("Kürzel: Diktat"));
    EXPECT_EQ(desktop.arbeitsplatz.vorne, chatPid);
    EXPECT_EQ(a.knopf->gedrueckt, 1);
}

TEST_F(Diktat, DasKuerzelOhneZielOderOhneKnopfZeigtNurEinenHinweis) {
    s().setzeMerkmal(KnopfArt::diktat, std::nullopt);
    s().kuerzelGedrueckt(2);
    EXPECT_EQ(s().hinweis.text(), "Diktat-Knopf noch nicht festgelegt");
    s().testBefehl("aufheben");
    s().kuerzelGedrueckt(2);
    EXPECT_EQ(s().hinweis.text(), "Kein Zielfenster gewählt");
    vorwaerts(1);
    EXPECT_EQ(a.knopf->gedrueckt, 0);
}

TEST_F(Diktat, NachDemEinfuegenStartetDasDiktatUndDerNutzerBleibtImZiel) {
    s().ud.setzeWahr("diktatAn", true);
    QTemporaryDir ordner;
    const std::string pfad = test::schreibeTestbild(ordner, "a.png");
    ASSERT_FALSE(pfad.empty());
    s().neuerScreenshot(pfad);
    vorwaerts(3);
    EXPECT_EQ(a.knopf->gedrueckt, 1);
    EXPECT_EQ(desktop.arbeitsplatz.vorne, chatPid);
    EXPECT_TRUE(s().diktatLaeuft);
}

}  // namespace
}  // namespace klebwerk
