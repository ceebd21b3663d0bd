// The watcher against stated file information and folder events on the virtual clock.

#include <gtest/gtest.h>

#include "intake/fangordner.h"
#include "intake/waechter.h"
#include "platform/sim/sim_desktop.h"
#include "intake/intake_hilfe.h"

namespace klebwerk {
namespace {

using Art = OrdnerEreignis::Art;
using Uhr = std::chrono::system_clock;

class WaechterSim : public ::testing::Test {
protected:
    const std::string ordner = "/heim/Bilder";
    sim::SimDesktop d;
    test::TempOrdner daten;
    std::optional<Plattform> plattform;
    std::unique_ptr<Waechter> w;
    std::vector<std::string> gemeldet;
    std::vector<double> gemeldetUm;
    bool aufnahmenAn = true;

    void SetUp() override {
        setzeDatenOrdner(daten.pfad);
        d.praeferenzen.domaenen[bildschirmfotoDomaene]["location"] = ordner;
        d.dateien.legeOrdnerAn(ordner);
    }

    void starte() {
        plattform.emplace(d.plattform());
        w = std::make_unique<Waechter>(*plattform);
        w->neu = [this](const std::string& pfad) {
            gemeldet.push_back(pfad);
            gemeldetUm.push_back(d.uhr.jetzt());
        };
        w->videosErlaubt = [this] { return aufnahmenAn; };
        w->start();
    }

    Uhr::time_point vor(double sekunden) {
        return d.uhr.wanduhr() - std::chrono::duration_cast<Uhr::duration>(std::chrono::duration<double>(sekunden));
    }
    // A regular file of that size, last changed `alter` seconds ago and born then too
    // (or at `entstanden` seconds ago).
    void lege(const std::string& name, std::int64_t groesse, double alter = 0,
              std::optional<double> entstanden = std::nullopt, const std::string& in = {}) {
        DateiStand s;
        s.groesse = groesse;
        s.geaendert = vor(alter);
        s.entstanden = vor(entstanden.value_or(alter));
        s.regulaer = true;
        d.dateien.lege((in.empty() ? ordner : in) + "/" + name, s);
    }
    void melde(Art art, const std::string& name = {}, const std::string& in = {}) {
        d.ordner.melde(in.empty() ? ordner : in, {art, name});
    }
    // A tool wrote a whole file in place and closed it.
    void schreibe(const std::string& name, std::int64_t groesse = 200'000) {
        lege(name, groesse);
        melde(Art::angelegt, name);
        melde(Art::geschlossen, name);
    }
    std::string pfad(const std::string& name) const { return ordner + "/" + name; }
    void weiter(double sekunden) { d.uhr.vorwaerts(sekunden); }
};

TEST_F(WaechterSim, MeldetNieWasBeimStartSchonDaWarAuchWennEsSichAendert) {
    lege("Screenshot alt.png", 1000);
    lege(".versteckt.png", 1000);
    starte();
    EXPECT_EQ(test::zaehle(test::protokollTexte(), "Beobachte " + ordner), 1);
    lege("Screenshot alt.png", 5000);
    melde(Art::geschlossen, "Screenshot alt.png");
    weiter(10);
    EXPECT_TRUE(gemeldet.empty());
}

TEST_F(WaechterSim, MeldetEinGeschriebenesBildschirmfotoEinmalBeimErstenBlick) {
    starte();
    schreibe("Screenshot 2024-05-01 um 10.00.00.png");
    weiter(0.099);
    EXPECT_TRUE(gemeldet.empty());
    weiter(0.002);
    ASSERT_EQ(gemeldet, std::vector<std::string>{pfad("Screenshot 2024-05-01 um 10.00.00.png")});
    // Later scans and even a rewrite leave it alone.
    schreibe("Screenshot 2024-05-01 um 10.00.00.png", 300'000);
    weiter(10);
    EXPECT_EQ(gemeldet.size(), 1u);
}

TEST_F(WaechterSim, BildOhneNamenZaehltNurWennDasMerkmalKommtSolangeEsJungIst) {
    starte();
    schreibe("a.png");
    schreibe("b.png");
    weiter(1.6);  // scans at 0.1, 0.4 and 1.5: no attribute yet
    EXPECT_TRUE(gemeldet.empty());
    d.dateien.setzeAttribut(pfad("a.png"), "com.apple.metadata:kMDItemIsScreenCapture", "");
    weiter(2.5);  // the scan at 4.0 finds a 4 s old file with the attribute
    EXPECT_EQ(gemeldet, std::vector<std::string>{pfad("a.png")});
    // b is settled once older than 6 s; an attribute after that changes nothing.
    weiter(3);
    schreibe("anlass.txt");
    weiter(0.2);
    d.dateien.setzeAttribut(pfad("b.png"), "com.apple.metadata:kMDItemIsScreenCapture", "1");
    schreibe("anlass2.txt");
    weiter(5);
    EXPECT_EQ(gemeldet.size(), 1u);
    EXPECT_TRUE(w->gesehen.count(pfad("b.png")));
}

TEST_F(WaechterSim, AndereDateienWerdenBeimErstenBlickAbgelegtUndNieWiederAngesehen) {
    starte();
    schreibe("notiz.txt", 10);
    schreibe("Screenshot ohne Endung", 10);
    weiter(0.11);
    EXPECT_TRUE(w->gesehen.count(pfad("notiz.txt")));
    EXPECT_TRUE(w->gesehen.count(pfad("Screenshot ohne Endung")));
    int staende = d.dateien.staende;
    weiter(5);
    EXPECT_EQ(d.dateien.staende, staende) << "settled names cost no attribute reads";
    EXPECT_TRUE(gemeldet.empty());
}

TEST_F(WaechterSim, LeeresBildWirdGemeldetSobaldEsInhaltHat) {
    starte();
    schreibe("Screenshot leer.png", 0);
    weiter(5);
    EXPECT_TRUE(gemeldet.empty());
    EXPECT_FALSE(w->gesehen.count(pfad("Screenshot leer.png")));
    schreibe("Screenshot leer.png", 1234);
    weiter(0.11);
    EXPECT_EQ(gemeldet, std::vector<std::string>{pfad("Screenshot leer.png")});
}

TEST_F(WaechterSim, ImOrtGeschriebenesBildZaehltErstWennSeinSchreiberFertigIst) {
    starte();
    lege("Screenshot halb.png", 4096);
    melde(Art::angelegt, "Screenshot halb.png");
    weiter(5);  // the writer holds it open, its size standing still the while
    EXPECT_TRUE(gemeldet.empty());
    lege("Screenshot halb.png", 90'000);
    melde(Art::geschlossen, "Screenshot halb.png");
    weiter(0.11);
    EXPECT_EQ(gemeldet, std::vector<std::string>{pfad("Screenshot halb.png")});
}

TEST_F(WaechterSim, HineinbewegtesBildIstSofortGanz) {
    starte();
    lege("Screenshot bewegt.png", 5000);
    melde(Art::hineinbewegt, "Screenshot bewegt.png");
    weiter(0.11);
    EXPECT_EQ(gemeldet.size(), 1u);
}

TEST_F(WaechterSim, OhneNamensereignisZaehltEinBildWennSeineGroesseZwischenZweiBlickenHaelt) {
    starte();
    lege("Screenshot still.png", 5000);
    melde(Art::geaendert);
    weiter(0.11);
    EXPECT_TRUE(gemeldet.empty());
    lege("Screenshot still.png", 9000);  // still growing at the second look
    weiter(0.3);
    EXPECT_TRUE(gemeldet.empty());
    weiter(0.7);  // the look 0.6 s after the last change of size
    EXPECT_EQ(gemeldet.size(), 1u);
}

TEST_F(WaechterSim, AufnahmeWirdEinBisZweiSekundenNachDemWachsenGemeldet) {
    for (bool mitSchliessen : {false, true}) {
        SCOPED_TRACE(mitSchliessen ? "close reported" : "plain changes only");
        gemeldet.clear();
        gemeldetUm.clear();
        if (!w) starte();
        std::string name = mitSchliessen ? "Screen Recording b.mov" : "Bildschirmaufnahme a.mov";
        double beginn = d.uhr.jetzt();
        lege(name, 1000);
        melde(mitSchliessen ? Art::angelegt : Art::geaendert, name);
        for (int i = 1; i <= 40; ++i) {  // grows for 10 s
            weiter(0.25);
            lege(name, 1000 + i * 50'000, 0, d.uhr.jetzt() - beginn);
        }
        double stopp = d.uhr.jetzt();
        EXPECT_TRUE(gemeldet.empty());
        if (mitSchliessen) melde(Art::geschlossen, name);
        weiter(5);
        ASSERT_EQ(gemeldet.size(), 1u);
        EXPECT_GE(gemeldetUm[0] - stopp, 1.0);
        EXPECT_LE(gemeldetUm[0] - stopp, 2.0);
    }
}

TEST_F(WaechterSim, AufnahmeDieDerSchreiberOffenHaeltWartetAufsSchliessen) {
    starte();
    melde(Art::angelegt, "Screen Recording c.mov");
    lege("Screen Recording c.mov", 1000);
    weiter(8);  // stands still for 8 s, open
    EXPECT_TRUE(gemeldet.empty());
    melde(Art::geschlossen, "Screen Recording c.mov");
    weiter(0.11);
    EXPECT_EQ(gemeldet, std::vector<std::string>{pfad("Screen Recording c.mov")});
}

TEST_F(WaechterSim, AufnahmeBeiAusgeschaltetenAufnahmenWirdNieGemeldet) {
    starte();
    aufnahmenAn = false;
    schreibe("Bildschirmaufnahme aus.mov");
    weiter(0.11);
    EXPECT_TRUE(w->gesehen.count(pfad("Bildschirmaufnahme aus.mov")));
    aufnahmenAn = true;
    schreibe("Bildschirmaufnahme aus.mov");
    weiter(10);
    EXPECT_TRUE(gemeldet.empty());
}

TEST_F(WaechterSim, KopiertesBildMitAlterAenderungsUndNeuerEntstehungszeitIstNeu) {
    starte();
    lege("Screenshot kopiert.png", 5000, 180, 0);
    lege("Screenshot wirklich alt.png", 5000, 180, 180);
    melde(Art::geschlossen, "Screenshot kopiert.png");
    melde(Art::geschlossen, "Screenshot wirklich alt.png");
    weiter(0.11);
    EXPECT_EQ(gemeldet, std::vector<std::string>{pfad("Screenshot kopiert.png")});
    EXPECT_TRUE(w->gesehen.count(pfad("Screenshot wirklich alt.png")));
}

TEST_F(WaechterSim, VersteckteDateienWerdenNieAngesehen) {
    starte();
    int staende = d.dateien.staende;
    schreibe(".Screenshot versteckt.png");
    weiter(5);
    EXPECT_TRUE(gemeldet.empty());
    EXPECT_FALSE(w->gesehen.count(pfad(".Screenshot versteckt.png")));
    EXPECT_EQ(d.dateien.staende, staende);
}

TEST_F(WaechterSim, ZusammenGefundeneAufnahmenKommenInDerReihenfolgeIhrerZeiten) {
    starte();
    lege("Screenshot c.png", 10, 3);
    lege("Screenshot a.png", 10, 1);
    lege("Screenshot b.png", 10, 2);
    lege("Screenshot a2.png", 10, 2);
    for (auto n : {"Screenshot a.png", "Screenshot b.png", "Screenshot c.png", "Screenshot a2.png"}) {
        melde(Art::geschlossen, n);
    }
    weiter(0.11);
    EXPECT_EQ(gemeldet, (std::vector<std::string>{pfad("Screenshot c.png"), pfad("Screenshot a2.png"),
                                                  pfad("Screenshot b.png"), pfad("Screenshot a.png")}));
}

TEST_F(WaechterSim, EinSchwallVonDateienMeldetJedeEinmalUndPlantJedenBlickNurEinmal) {
    starte();
    for (int i = 0; i < 400; ++i) schreibe("Screenshot " + std::to_string(1000 + i) + ".png", 100 + i);
    d.uhr.laufeFaelliges();
    EXPECT_LE(d.uhr.offen(), 4u) << "the scans of one burst are scheduled once";
    weiter(10);
    ASSERT_EQ(gemeldet.size(), 400u);
    std::set<std::string> einmal(gemeldet.begin(), gemeldet.end());
    EXPECT_EQ(einmal.size(), 400u);
}

TEST_F(WaechterSim, DateiDieZwischenListeUndLesenVerschwindetBleibtOffen) {
    starte();
    schreibe("Screenshot weg.png");
    d.dateien.unlesbar[pfad("Screenshot weg.png")] = "No such file or directory";
    weiter(0.11);
    EXPECT_FALSE(w->gesehen.count(pfad("Screenshot weg.png")));
    d.dateien.unlesbar.clear();
    weiter(0.3);
    EXPECT_EQ(gemeldet.size(), 1u);
}

TEST_F(WaechterSim, VerweiseUndOrdnerMitBildnamenWerdenAbgelegt) {
    starte();
    DateiStand verweis;
    verweis.verweis = true;
    verweis.groesse = 20;
    verweis.geaendert = vor(0);
    d.dateien.lege(pfad("Screenshot verweis.png"), verweis);
    d.dateien.legeOrdnerAn(pfad("Screenshot ordner.png"));
    melde(Art::angelegt, "Screenshot verweis.png");
    melde(Art::angelegt, "Screenshot ordner.png");
    weiter(5);
    EXPECT_TRUE(gemeldet.empty());
    EXPECT_TRUE(w->gesehen.count(pfad("Screenshot verweis.png")));
    EXPECT_TRUE(w->gesehen.count(pfad("Screenshot ordner.png")));
}

TEST_F(WaechterSim, UeberlaufPrueftAllesNeu) {
    starte();
    lege("Screenshot verloren.png", 500);
    d.ordner.meldeUeberlauf();
    weiter(0.5);
    EXPECT_EQ(gemeldet.size(), 1u);
}

TEST_F(WaechterSim, FehlenderOrdnerWirdProtokolliertUndBeobachtetSobaldErErscheint) {
    const std::string filme = "/heim/Videos/Screencasts";
    d.praeferenzen.domaenen[bildschirmfotoDomaene]["location-screenrecording"] = filme;
    d.dateien.legeOrdnerAn("/heim");
    starte();
    auto log = test::protokollTexte();
    EXPECT_EQ(test::zaehle(log, "Ordner nicht lesbar: " + filme + " \u2013 No such file or directory"), 1);
    EXPECT_EQ(test::zaehle(log, "Beobachte " + filme), 1);
    EXPECT_TRUE(d.ordner.beobachtet("/heim"));

    // The other folder works meanwhile.
    schreibe("Screenshot x.png");
    weiter(0.11);
    EXPECT_EQ(gemeldet.size(), 1u);

    // Videos appears first, then Screencasts with a file already in it.
    d.dateien.legeOrdnerAn("/heim/Videos");
    d.ordner.melde("/heim", {Art::angelegt, "Videos"});
    weiter(0);
    EXPECT_TRUE(d.ordner.beobachtet("/heim/Videos"));
    EXPECT_FALSE(d.ordner.beobachtet("/heim"));
    d.dateien.legeOrdnerAn(filme);
    lege("Bildschirmaufnahme vorher.mov", 100, 0, std::nullopt, filme);
    d.ordner.melde("/heim/Videos", {Art::angelegt, "Screencasts"});
    weiter(0);
    EXPECT_TRUE(d.ordner.beobachtet(filme));
    EXPECT_FALSE(d.ordner.beobachtet("/heim/Videos"));
    EXPECT_EQ(test::zaehle(test::protokollTexte(), "Beobachte " + filme), 2);

    lege("Bildschirmaufnahme neu.mov", 100, 0, std::nullopt, filme);
    melde(Art::hineinbewegt, "Bildschirmaufnahme neu.mov", filme);
    weiter(5);
    EXPECT_EQ(gemeldet, (std::vector<std::string>{pfad("Screenshot x.png"), filme + "/Bildschirmaufnahme neu.mov"}));
}

TEST_F(WaechterSim, GeloeschterOrdnerWirdWiederBeobachtetWennErZurueckkommt) {
    d.dateien.legeOrdnerAn("/heim");
    starte();
    d.dateien.entferne(ordner);
    melde(Art::verschwunden);
    weiter(5);
    EXPECT_FALSE(d.ordner.beobachtet(ordner));
    EXPECT_TRUE(d.ordner.beobachtet("/heim"));
    d.dateien.legeOrdnerAn(ordner);
    d.ordner.melde("/heim", {Art::angelegt, "Bilder"});
    weiter(0);
    ASSERT_TRUE(d.ordner.beobachtet(ordner));
    schreibe("Screenshot danach.png");
    weiter(0.11);
    EXPECT_EQ(gemeldet.size(), 1u);
}

TEST_F(WaechterSim, UnlesbarerOrdnerWirdProtokolliertUndDieAnderenArbeiten) {
    d.praeferenzen.domaenen[bildschirmfotoDomaene]["location-screenshot"] = "/gesperrt";
    d.dateien.legeOrdnerAn("/gesperrt");
    d.dateien.unlesbar["/gesperrt"] = "Permission denied";
    d.ordner.gesperrt["/gesperrt"] = "Permission denied";
    starte();
    EXPECT_EQ(test::zaehle(test::protokollTexte(), "Ordner nicht lesbar: /gesperrt \u2013 Permission denied"), 1);
    schreibe("Screenshot y.png");
    weiter(5);
    EXPECT_EQ(gemeldet.size(), 1u);
}

TEST_F(WaechterSim, NamenDesDesktopsZaehlenWieDieBeschriebenen) {
    d.werkzeug.zusatz.videoAnfaenge = {"Screencast"};
    d.werkzeug.zusatz.videoEndungen = {"webm"};
    starte();
    schreibe("Screencast from 2024-05-01 10-00-00.webm", 50'000);
    weiter(3);
    EXPECT_EQ(gemeldet.size(), 1u);
}

// The early hint names a complete image with a capture's name at the very event, long
// before the first scan; anything else is never hinted at.
TEST_F(WaechterSim, NenntEinFertigesBildschirmfotoSchonBeimEreignis) {
    struct Fall {
        const char* name;
        Art art;
        bool genannt;
    };
    const Fall faelle[] = {
        {"Screenshot 2024-05-01 um 10.00.00.png", Art::geschlossen, true},
        {"Bildschirmfoto 2024-05-01 um 10.00.00.png", Art::hineinbewegt, true},
        {"Screenshot offen.png", Art::angelegt, false},      // still being written
        {".Screenshot versteckt.png", Art::geschlossen, false},
        {"Screen Recording 1.mov", Art::geschlossen, false},  // a recording
        {"urlaub.png", Art::geschlossen, false},              // no capture name
    };
    starte();
    std::vector<std::string> genannt;
    w->vollstaendig = [&](const std::string& p) { genannt.push_back(p); };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        genannt.clear();
        lege(f.name, 200'000);
        melde(f.art, f.name);
        weiter(0);  // the event arrives; the first scan is 0.1 s away
        EXPECT_EQ(genannt, f.genannt ? std::vector<std::string>{pfad(f.name)} : std::vector<std::string>{});
        EXPECT_TRUE(gemeldet.empty()) << "reported only by a scan";
    }
}

}  // namespace
}  // namespace klebwerk
