// The read-aloud watch on the simulated desktop and the virtual clock: an answer that
// runs and finishes, the hover over it and the click on its read-aloud button, and
// everything that keeps the pointer where the user has it.

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>

#include "assist/knopfsuche.h"
#include "assist/vorlese_wache.h"
#include "support/protokoll_hilfe.h"
#include "support/ziele_szenario.h"

namespace klebwerk {
namespace {

using test::ZieleSzenario;

constexpr int zweiterPid = 300;
constexpr double spiel = 1e-6;
const KnopfMerkmal vorleseKnopf{"AXButton", "Vorlesen", ""};
const Rechteck chatRahmen{100, 100, 600, 500};
// Laid out in the chat below: the input field at (120, 500, 400 × 60), so the hover
// points stand at x = 120 + 80 and 40, 80, 130, 200 points above it; the read-aloud
// button's centre at (310, 450).
const Punkt knopfMitte{310, 450};
const std::vector<Punkt> schwebe{{200, 460}, {200, 420}, {200, 370}, {200, 300}};
// The user's pointer rests in the editor.
const Punkt nutzerZeiger{800, 700};

// A chat window: an input field, the read-aloud button under the newest answer, and a
// stop button while an answer is being written.
struct Chat {
    sim::SimKnoten* fenster = nullptr;
    std::shared_ptr<sim::SimKnoten> stopp;
    std::shared_ptr<sim::SimKnoten> vorlesen;

    void baue(sim::SimKnoten& f, const Rechteck& r) {
        fenster = &f;
        f.kind("AXTextArea", {{"AXValue", ""}}).rahmen({r.x + 20, r.y + 400, 400, 60});
        f.kind("AXButton", {{"AXDescription", "Vorlesen"}}).rahmen({r.x + 200, r.y + 340, 20, 20});
        vorlesen = f.kinder.back();
        f.kind("AXButton", {{"AXDescription", "Antwort anhalten"}}).rahmen({r.x + 440, r.y + 410, 30, 30});
        stopp = f.kinder.back();
        antwortFertig();
    }
    void schreibtAntwort() {
        if (std::find(fenster->kinder.begin(), fenster->kinder.end(), stopp) == fenster->kinder.end())
            fenster->kinder.push_back(stopp);
    }
    void antwortFertig() { std::erase(fenster->kinder, stopp); }
    void ohneVorleseknopf() { std::erase(fenster->kinder, vorlesen); }
};

class Vorlesen : public ::testing::Test, public ZieleSzenario {
protected:
    Chat a, b;

    void SetUp() override {
        app(chatPid, "Chat", "com.example.chat");
        a.baue(desktop.oeffneFenster(chatPid, "Gespräch", chatRahmen), chatRahmen);
        app(editorPid, "Editor", "org.example.editor");
        desktop.oeffneFenster(editorPid, "notizen.txt", {720, 620, 300, 150});
        app(zweiterPid, "Zweiter Chat", "com.example.zweiter");
        const Rechteck rb{720, 60, 400, 500};
        b.baue(desktop.oeffneFenster(zweiterPid, "Zweites Gespräch", rb), rb);
        starte();
        s().setzeMerkmal(KnopfArt::vorlesen, vorleseKnopf);
        s().setzeZiel(zielFuer(b, zweiterPid));
        s().setzeZiel(zielFuer(a, chatPid));
        vorwaerts(3);  // the choice's hints are gone
        desktop.arbeitsplatz.vorne = editorPid;
        desktop.eingabe.zeigerPosition = nutzerZeiger;
        desktop.eingabe.letzteBewegung = desktop.uhr.jetzt() - 10;
        desktop.eingabe.gepostet.clear();
        desktop.journal.leere();
    }

    std::shared_ptr<Ziel> zielFuer(const Chat& c, int pid) {
        if (auto z = s().verbundenMit(c.fenster->element())) return z;
        return std::make_shared<Ziel>(s().ax, desktop.arbeitsplatz, c.fenster->element(), pid);
    }
    std::vector<sim::Gepostet> gepostet(const std::string& art) const {
        std::vector<sim::Gepostet> l;
        for (const auto& g : desktop.eingabe.gepostet)
            if (g.art == art) l.push_back(g);
        return l;
    }
    std::vector<std::string> log() const { return test::protokollTexte(heim.protokoll()); }
    int imLogGezaehlt(const std::string& text) const { return test::zaehle(log(), text); }

    // The watch started by its test command; an answer runs and is finished.
    void fertigeAntwort(Chat& c) {
        c.schreibtAntwort();
        vorwaerts(1.0);
        c.antwortFertig();
        vorwaerts(1.0);
    }
    // Steps the clock until the pointer is moved, at most `sekunden`; the time of the move.
    std::optional<double> ersterSprung(double sekunden) {
        const double ende = desktop.uhr.jetzt() + sekunden;
        while (desktop.uhr.jetzt() < ende) {
            vorwaerts(0.01);
            if (auto z = gepostet("zeiger"); !z.empty()) return z.front().zeit;
        }
        return std::nullopt;
    }
};

TEST_F(Vorlesen, NachDerFertigenAntwortUndRuhendemZeigerWirdDerKnopfGeklicktUndDerNutzerKommtZurueck) {
    s().testBefehl("wache");
    EXPECT_TRUE(s().wacheLaeuft);
    EXPECT_EQ(imLogGezaehlt("Vorlesen: Wache gestartet für Chat – Gespräch"), 1);
    a.schreibtAntwort();
    vorwaerts(1.0);
    EXPECT_EQ(imLogGezaehlt("Vorlesen: Antwort läuft"), 1);
    vorwaerts(3.0);
    EXPECT_TRUE(gepostet("zeiger").empty()) << "nothing moves while the answer runs";
    a.antwortFertig();
    vorwaerts(1.0);
    EXPECT_EQ(imLogGezaehlt("Vorlesen: Antwort fertig"), 1);
    auto t = ersterSprung(1.5);
    ASSERT_TRUE(t);
    vorwaerts(1.0);

    // Over the answer, 2 points to the right, onto the button's centre, the click,
    // and the pointer back where the user had it; each after its pause.
    auto z = gepostet("zeiger");
    ASSERT_EQ(z.size(), 4u);
    const std::vector<std::pair<Punkt, double>> wege{
        {schwebe[0], 0}, {{202, 460}, 0.03}, {knopfMitte, 0.23}, {nutzerZeiger, 0.40}};
    for (size_t i = 0; i < wege.size(); ++i) {
        EXPECT_EQ(z[i].wo, wege[i].first) << i;
        EXPECT_NEAR(z[i].zeit - *t, wege[i].second, spiel) << i;
    }
    auto m = gepostet("maus");
    ASSERT_EQ(m.size(), 2u);
    EXPECT_TRUE(m[0].runter);
    EXPECT_FALSE(m[1].runter);
    EXPECT_EQ(m[0].wo, knopfMitte);
    EXPECT_EQ(m[1].wo, knopfMitte);
    EXPECT_NEAR(m[0].zeit - *t, 0.28, spiel);
    EXPECT_NEAR(m[1].zeit - *t, 0.32, spiel);

    EXPECT_EQ(imLogGezaehlt("Vorlesen gedrückt: true"), 1);
    EXPECT_EQ(s().hinweis.letzterText(), "Antwort wird vorgelesen");
    EXPECT_FALSE(s().wacheLaeuft);
    EXPECT_FALSE(s().wacheZiel);
    EXPECT_GE(desktop.journal.position("arbeitsplatz.aktiviere " + std::to_string(editorPid)), 0)
        << "the application that was in front is activated again";
}

TEST_F(Vorlesen, WarDasZielVornWirdNichtsAnderesAktiviert) {
    desktop.arbeitsplatz.vorne = chatPid;
    s().testBefehl("wache");
    fertigeAntwort(a);
    vorwaerts(2);
    ASSERT_EQ(gepostet("maus").size(), 2u);
    EXPECT_EQ(desktop.journal.position("arbeitsplatz.aktiviere"), -1);
}

TEST_F(Vorlesen, SolangeDerNutzerDenZeigerBewegtWirdNichtGedrueckt) {
    s().testBefehl("wache");
    fertigeAntwort(a);
    for (int i = 0; i < 12; ++i) {
        desktop.eingabe.nutzerBewegt({700.0 + i, 700});
        vorwaerts(0.5);
    }
    EXPECT_TRUE(gepostet("maus").empty());
    const double ruhtAb = desktop.uhr.jetzt() - 0.5;
    vorwaerts(3);
    auto m = gepostet("maus");
    ASSERT_EQ(m.size(), 2u);
    EXPECT_GE(m[0].zeit - ruhtAb, 1.0);
    EXPECT_LE(m[0].zeit - ruhtAb, 2.0 + 0.3);
}

TEST_F(Vorlesen, DieSchwebepunkteStehenUeberDemEingabefeldUndJederWirdViermalDurchsucht) {
    a.ohneVorleseknopf();
    s().testBefehl("wache");
    fertigeAntwort(a);
    auto t = ersterSprung(1.5);
    ASSERT_TRUE(t);
    vorwaerts(4);
    auto z = gepostet("zeiger");
    ASSERT_GE(z.size(), 9u);
    // Per point: there, 0.03 s later 2 points to the right, then four searches 0.2 s
    // apart; the next point right after the last search; then the pointer goes back.
    for (size_t i = 0; i < schwebe.size(); ++i) {
        EXPECT_EQ(z[2 * i].wo, schwebe[i]) << i;
        EXPECT_EQ(z[2 * i + 1].wo, (Punkt{schwebe[i].x + 2, schwebe[i].y})) << i;
        EXPECT_NEAR(z[2 * i].zeit - *t, 0.83 * static_cast<double>(i), spiel) << i;
        EXPECT_NEAR(z[2 * i + 1].zeit - *t, 0.83 * static_cast<double>(i) + 0.03, spiel) << i;
    }
    EXPECT_EQ(z[8].wo, nutzerZeiger);
    EXPECT_NEAR(z[8].zeit - *t, 4 * 0.83, spiel);
    EXPECT_TRUE(gepostet("maus").empty());
    EXPECT_EQ(imLogGezaehlt("Vorlesen: Knopf nach Sprung nicht gefunden (Versuch 1)"), 1);
}

TEST_F(Vorlesen, NachDreiFehlversuchenWartetDieWacheAufDieNaechsteAntwort) {
    a.ohneVorleseknopf();
    s().testBefehl("wache");
    fertigeAntwort(a);
    vorwaerts(40);
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(imLogGezaehlt("Vorlesen: Knopf nach Sprung nicht gefunden (Versuch " + std::to_string(i) + ")"), 1);
    EXPECT_EQ(test::zaehleAnfaenge(log(), "Vorlesen: Knopf nach Sprung nicht gefunden (Versuch 4"), 0);
    EXPECT_TRUE(s().wacheLaeuft);
    // The next answer is tried afresh.
    fertigeAntwort(a);
    vorwaerts(6);
    EXPECT_EQ(imLogGezaehlt("Vorlesen: Antwort läuft"), 2);
    EXPECT_EQ(imLogGezaehlt("Vorlesen: Knopf nach Sprung nicht gefunden (Versuch 1)"), 2);
}

TEST_F(Vorlesen, DieWacheEndetNach900Sekunden) {
    s().testBefehl("wache");
    const double start = desktop.uhr.jetzt();
    vorwaerts(899);
    EXPECT_TRUE(s().wacheLaeuft);
    vorwaerts(2);
    EXPECT_FALSE(s().wacheLaeuft);
    EXPECT_EQ(imLogGezaehlt("Vorlesen: Wache beendet ohne Vorlesen"), 1);
    EXPECT_GE(desktop.uhr.jetzt() - start, 900);
}

TEST_F(Vorlesen, OhneGelerntenKnopfEndetDieWache) {
    s().testBefehl("wache");
    a.schreibtAntwort();
    vorwaerts(1);
    s().testBefehl("knopfweg");
    vorwaerts(1);
    EXPECT_FALSE(s().wacheLaeuft);
    EXPECT_EQ(imLogGezaehlt("Vorlesen: Wache beendet ohne Vorlesen"), 1);
}

TEST_F(Vorlesen, EinGeschlossenesZielBeendetDieWacheOhneKlick) {
    s().testBefehl("wache");
    a.schreibtAntwort();
    vorwaerts(1);
    a.antwortFertig();
    desktop.schliesseFenster(a.fenster->nummer);
    vorwaerts(5);
    EXPECT_FALSE(s().wacheLaeuft);
    EXPECT_TRUE(gepostet("zeiger").empty());
    EXPECT_TRUE(gepostet("maus").empty());
}

TEST_F(Vorlesen, EinZweiterStartLenktDieLaufendeWacheUmUndVerlaengertSie) {
    s().starteWache(zielFuer(a, chatPid));
    vorwaerts(800);
    s().starteWache(zielFuer(b, zweiterPid));
    EXPECT_EQ(test::zaehleAnfaenge(log(), "Vorlesen: Wache gestartet für "), 1) << "the running watch goes on";
    EXPECT_EQ(s().wacheZiel, zielFuer(b, zweiterPid));
    vorwaerts(890);
    EXPECT_TRUE(s().wacheLaeuft) << "past the first start's 900 s";
    // The answer it presses is the new target's.
    fertigeAntwort(b);
    vorwaerts(2);
    auto m = gepostet("maus");
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0].wo, (Punkt{720 + 210, 60 + 350}));
    EXPECT_FALSE(s().wacheLaeuft);
}

TEST_F(Vorlesen, EinBlickFuerEinAnderesZielZaehltNicht) {
    // Reading the chat costs time; the watch is re-aimed while its look is under way.
    desktop.ax.baum(chatPid).kosten = 0.3;
    a.schreibtAntwort();
    s().starteWache(zielFuer(a, chatPid));
    Marke umlenken = desktop.uhr.nach(1.1, [&] { s().starteWache(zielFuer(b, zweiterPid)); });
    vorwaerts(4);
    EXPECT_EQ(imLogGezaehlt("Vorlesen: Antwort läuft"), 0) << "the running answer was the old target's";
    b.schreibtAntwort();
    vorwaerts(1);
    EXPECT_EQ(imLogGezaehlt("Vorlesen: Antwort läuft"), 1);
}

TEST_F(Vorlesen, EinSprungDerVorigenWacheBeendetDieNeueNicht) {
    s().testBefehl("wache");
    fertigeAntwort(a);
    ASSERT_TRUE(ersterSprung(1.5));
    // Stopped and started anew while the old watch's hover is under way.
    s().testBefehl("wache");
    vorwaerts(0.5);
    ASSERT_EQ(gepostet("maus").size(), 2u) << "the hover that had begun still clicks";
    EXPECT_EQ(imLogGezaehlt("Vorlesen gedrückt: true"), 0);
    EXPECT_TRUE(s().wacheLaeuft);
}

TEST_F(Vorlesen, BeiGehaltenerMaustasteBewegtSichDerZeigerNicht) {
    s().testBefehl("wache");
    fertigeAntwort(a);
    desktop.eingabe.tasteGehalten = true;
    vorwaerts(4);
    EXPECT_TRUE(gepostet("zeiger").empty());
    EXPECT_TRUE(gepostet("maus").empty());
    EXPECT_EQ(imLogGezaehlt("Vorlesen: Maustaste gehalten, kein Sprung"), 1) << "said once while it is held";
    EXPECT_EQ(test::zaehleAnfaenge(log(), "Vorlesen: Knopf nach Sprung nicht gefunden"), 0)
        << "a held button uses up no attempt";
    desktop.eingabe.tasteGehalten = false;
    vorwaerts(2);
    EXPECT_EQ(gepostet("maus").size(), 2u);
}

TEST_F(Vorlesen, BewegtDerNutzerDenZeigerWaehrendDesSprungsGibtDieWacheAufUndVersuchtEsSpaeter) {
    s().testBefehl("wache");
    fertigeAntwort(a);
    ASSERT_TRUE(ersterSprung(1.5));
    vorwaerts(0.05);
    desktop.eingabe.nutzerBewegt({500, 50});
    vorwaerts(0.5);
    EXPECT_TRUE(gepostet("maus").empty());
    EXPECT_EQ(gepostet("zeiger").back().wo, nutzerZeiger) << "the pointer is put back";
    EXPECT_EQ(imLogGezaehlt("Vorlesen: Zeiger bewegt, Sprung abgebrochen"), 1);
    EXPECT_EQ(test::zaehleAnfaenge(log(), "Vorlesen: Knopf nach Sprung nicht gefunden"), 0);
    vorwaerts(3);
    EXPECT_EQ(gepostet("maus").size(), 2u) << "tried again once the pointer rests";
}

// Something lies over the answer or over the button when the watch would press it.
struct Verdeckung {
    const char* fall;
    int pid;  // 0: Klebwerk itself
    int schicht;
    Rechteck rahmen;
    const char* logzeile;
    bool zeigerBewegt;
};

void PrintTo(const Verdeckung& v, std::ostream* os) { *os << v.fall; }

class VorlesenVerdeckt : public Vorlesen, public ::testing::WithParamInterface<Verdeckung> {};

TEST_P(VorlesenVerdeckt, NichtsWirdGeklicktUndDasProtokollSagtWasDarueberLiegt) {
    const Verdeckung& v = GetParam();
    desktop.zeigeFlaeche(v.pid ? v.pid : desktop.arbeitsplatz.eigenePid(), v.schicht, v.rahmen);
    s().testBefehl("wache");
    fertigeAntwort(a);
    vorwaerts(1.5);  // the first attempt, one tick after the answer finished
    EXPECT_TRUE(gepostet("maus").empty());
    EXPECT_EQ(imLogGezaehlt(v.logzeile), 1) << test::protokollTexte(heim.protokoll()).back();
    EXPECT_EQ(!gepostet("zeiger").empty(), v.zeigerBewegt);
    EXPECT_EQ(imLogGezaehlt("Vorlesen: Knopf nach Sprung nicht gefunden (Versuch 1)"), 1);
}

const Rechteck ueberKnopf{290, 430, 50, 50};
const Rechteck ueberAntwort{150, 250, 300, 230};

INSTANTIATE_TEST_SUITE_P(
    Faelle, VorlesenVerdeckt,
    ::testing::Values(
        Verdeckung{"fenster_ueber_knopf", ZieleSzenario::editorPid, 0, ueberKnopf,
                   "Vorlesen: Knopf bei 310,450 ist verdeckt von Editor, Hover-Punkt 200,460", true},
        Verdeckung{"eigenes_fenster_ueber_knopf", 0, 3, ueberKnopf,
                   "Vorlesen: Knopf bei 310,450 ist verdeckt von Klebwerk, Hover-Punkt 200,460", true},
        Verdeckung{"menue_ueber_antwort", ZieleSzenario::editorPid, 101, ueberAntwort,
                   "Vorlesen: Antwort ist verdeckt, kein Sprung", false},
        Verdeckung{"fenster_ueber_antwort", ZieleSzenario::editorPid, 0, ueberAntwort,
                   "Vorlesen: Antwort ist verdeckt, kein Sprung", false}),
    [](const auto& info) { return std::string(info.param.fall); });

TEST_F(Vorlesen, JetztVorlesenDruecktSofortOderSagtDassKeinKnopfDaIst) {
    s().testBefehl("vorlesen");
    vorwaerts(1);
    auto m = gepostet("maus");
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0].wo, knopfMitte);
    EXPECT_EQ(imLogGezaehlt("Jetzt vorlesen: true"), 1);
    EXPECT_FALSE(s().wacheLaeuft);

    a.ohneVorleseknopf();
    desktop.eingabe.gepostet.clear();
    s().testBefehl("vorlesen");
    vorwaerts(5);
    EXPECT_TRUE(gepostet("maus").empty());
    EXPECT_EQ(s().hinweis.letzterText(), "Kein Vorlesen-Knopf im Zielfenster gefunden");
}

TEST_F(Vorlesen, DieStatusdateiZeigtObDieWacheLaeuft) {
    auto laeuft = [&] {
        return QJsonDocument::fromJson(QByteArray::fromStdString(test::TempHeim::lies(heim.daten("status.json"))))
            .object()
            .value("wacheLaeuft")
            .toBool();
    };
    s().testBefehl("wache");
    EXPECT_TRUE(laeuft());
    s().testBefehl("knopfweg");
    vorwaerts(1);
    EXPECT_FALSE(laeuft());
}

// Which buttons count as the stop button of a running answer.
TEST_F(Vorlesen, EinStoppknopfIstEinKnopfMitStoppAnhaltenOderAbbrechen) {
    struct Fall {
        std::string rolle, label;
        bool stopp;
    };
    const Fall faelle[] = {
        {"AXButton", "Stop generating", true}, {"AXButton", "Antwort anhalten", true},
        {"AXLink", "Abbrechen", true},         {"AXButton", "STOP", true},
        {"AXStaticText", "Stop", false},       {"AXButton", "Senden", false},
    };
    for (const Fall& f : faelle) {
        auto& fenster = desktop.oeffneFenster(chatPid, "Probe " + f.label, {0, 0, 10, 10});
        fenster.kind("AXGroup").kind(f.rolle, {{"AXTitle", f.label}});
        EXPECT_EQ(stoppKnopfIn(s().ax, fenster.element()), std::optional<bool>(f.stopp)) << f.rolle << " " << f.label;
    }
    desktop.ax.baum(chatPid).haengt = true;
    EXPECT_EQ(stoppKnopfIn(s().ax, a.fenster->element()), std::nullopt) << "no answer is no finished answer";
}

}  // namespace
}  // namespace klebwerk
