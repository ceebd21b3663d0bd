// The screenshot tool's preview: off while delivering, always put back as it was.

#include <gtest/gtest.h>

#include "app/einstellungen.h"
#include "app/steuerung.h"
#include "intake/fangordner.h"
#include "intake/intake_hilfe.h"
#include "platform/sim/sim_desktop.h"

namespace klebwerk {
namespace {

// Preferences that end the "process" at a chosen write, as a crash would.
struct Absturz {};
class AbstuerzendePraeferenzen : public sim::SimPraeferenzen {
public:
    int schreibenBisAbsturz = -1;  // < 0: never
    void schreibe(const std::string& d, const std::string& k, const Wert& w) override {
        if (schreibenBisAbsturz == 0) throw Absturz{};
        if (schreibenBisAbsturz > 0) --schreibenBisAbsturz;
        SimPraeferenzen::schreibe(d, k, w);
    }
    bool absturzBeimSynchronisieren = false;
    void synchronisiere(const std::string&) override {
        if (absturzBeimSynchronisieren) throw Absturz{};
    }
};

class Vorschau : public ::testing::Test {
protected:
    sim::SimDesktop d;
    test::TempOrdner tmp;
    AbstuerzendePraeferenzen praeferenzen;
    std::string datei = tmp.pfad + "/einstellungen.json";

    void SetUp() override { setzeDatenOrdner(tmp.pfad); }

    // One run of the application: its own controller and its own view of the settings file.
    struct Lauf {
        Einstellungen ud;
        Plattform p;
        Steuerung s;
        Lauf(Vorschau& t) : ud(t.datei), p(t.plattformMit()), s(p, ud) {}
        void aktiv(bool an) {
            s.vertraut = true;
            s.ziel = an ? std::make_shared<Ziel>(s.ax, p.arbeitsplatz, Element{Element::Art::objekt, 1, "", "/1"}, 1)
                        : nullptr;
        }
    };
    Plattform plattformMit() {
        Plattform p = d.plattform();
        return Plattform{p.schleife, p.ax, p.fensterliste, p.arbeitsplatz, p.ablage, p.eingabe, p.abgriff,
                         p.kuerzel, praeferenzen, p.bildschirme, p.anmeldeobjekt, p.neustart, p.klang, p.befehle,
                         p.sprachen, p.ordner, p.dateien, p.beendigung, p.werkzeug, p.systemkuerzel, p.eigeneFenster};
    }
    Wert vorschau() { return praeferenzen.lies(bildschirmfotoDomaene, "show-thumbnail"); }
    void setzeVorschau(const Wert& w) { praeferenzen.SimPraeferenzen::schreibe(bildschirmfotoDomaene, "show-thumbnail", w); }
};

TEST_F(Vorschau, GehtAusWennAktivUndKommtBeimPausierenWieVorherZurueck) {
    struct Fall {
        Wert vorher;
        std::string gespeichert;
    };
    for (const Fall& f : {Fall{Wert(), "fehlt"}, Fall{Wert(true), "an"}, Fall{Wert(false), "aus"},
                          Fall{Wert("ja"), "fehlt"}}) {
        SCOPED_TRACE(f.gespeichert);
        std::filesystem::remove(tmp.pfad + "/log.txt");
        setzeVorschau(f.vorher);
        Lauf lauf(*this);
        lauf.aktiv(true);
        lauf.s.aktualisiereVorschau(false);
        EXPECT_EQ(lauf.ud.text("vorschauVorher"), f.gespeichert);
        EXPECT_EQ(vorschau(), Wert(false));

        lauf.ud.setzeWahr("pausiert", true);
        lauf.s.aktualisiereVorschau(false);
        EXPECT_EQ(vorschau(), f.gespeichert == "fehlt" ? Wert() : f.vorher);
        EXPECT_TRUE(lauf.ud.wert("vorschauVorher").isUndefined());
        EXPECT_EQ(test::protokollTexte(), (std::vector<std::string>{
                                              "Vorschau aus", "Vorschau wieder wie vorher (" + f.gespeichert + ")"}));
        lauf.ud.entferne("pausiert");
    }
}

TEST_F(Vorschau, WiederholteAufrufeImAktivenZustandAendernNichts) {
    setzeVorschau(Wert(true));
    Lauf lauf(*this);
    lauf.aktiv(true);
    lauf.s.aktualisiereVorschau(false);
    setzeVorschau(Wert(true));  // the user switches it back on meanwhile
    lauf.s.aktualisiereVorschau(false);
    lauf.s.aktualisiereVorschau(false);
    EXPECT_EQ(vorschau(), Wert(true));
    EXPECT_EQ(lauf.ud.text("vorschauVorher"), "an");
    EXPECT_EQ(test::zaehle(test::protokollTexte(), "Vorschau aus"), 1);
}

TEST_F(Vorschau, JedeBedingungDieEndetStelltZurueck) {
    for (int bedingung = 0; bedingung < 4; ++bedingung) {
        SCOPED_TRACE(bedingung);
        setzeVorschau(Wert(true));
        Lauf lauf(*this);
        lauf.aktiv(true);
        lauf.s.aktualisiereVorschau(false);
        ASSERT_EQ(vorschau(), Wert(false));
        bool beenden = false;
        if (bedingung == 0) lauf.s.vertraut = false;
        if (bedingung == 1) lauf.ud.setzeWahr("pausiert", true);
        if (bedingung == 2) lauf.s.ziel.reset();
        if (bedingung == 3) beenden = true;
        lauf.s.aktualisiereVorschau(beenden);
        EXPECT_EQ(vorschau(), Wert(true));
        EXPECT_TRUE(lauf.ud.wert("vorschauVorher").isUndefined());
        lauf.ud.entferne("pausiert");
    }
}

TEST_F(Vorschau, OhneAktivenZustandWirdNichtsAngefasst) {
    setzeVorschau(Wert(true));
    Lauf lauf(*this);
    lauf.aktiv(false);
    lauf.s.aktualisiereVorschau(false);
    EXPECT_EQ(vorschau(), Wert(true));
    EXPECT_TRUE(lauf.ud.wert("vorschauVorher").isUndefined());
}

TEST_F(Vorschau, BeendenUndSigtermStellenZurueck) {
    setzeVorschau(Wert());
    Lauf lauf(*this);
    lauf.aktiv(true);
    lauf.s.aktualisiereVorschau(false);
    lauf.s.beimBeenden();
    EXPECT_EQ(vorschau(), Wert());
    EXPECT_TRUE(lauf.ud.wert("vorschauVorher").isUndefined());
}

TEST_F(Vorschau, EinAbsturzZwischenSichernUndAusschaltenVerliertDenWertNicht) {
    setzeVorschau(Wert(true));
    {
        Lauf lauf(*this);
        lauf.aktiv(true);
        praeferenzen.schreibenBisAbsturz = 0;  // dies at the write that switches it off
        EXPECT_THROW(lauf.s.aktualisiereVorschau(false), Absturz);
    }
    praeferenzen.schreibenBisAbsturz = -1;
    // The next start, not active: the saved value is on disk and is put back.
    Lauf neu(*this);
    EXPECT_EQ(neu.ud.text("vorschauVorher"), "an");
    neu.aktiv(false);
    neu.s.aktualisiereVorschau(false);
    EXPECT_EQ(vorschau(), Wert(true));
    EXPECT_TRUE(neu.ud.wert("vorschauVorher").isUndefined());
}

TEST_F(Vorschau, NachEinemAbsturzImAktivenZustandStelltDerNaechsteStartZurueck) {
    setzeVorschau(Wert(false));
    {
        Lauf lauf(*this);
        lauf.aktiv(true);
        lauf.s.aktualisiereVorschau(false);
        setzeVorschau(Wert(false));
    }  // gone without quitting
    // The next start is active at once: the saved value of before stays.
    {
        Lauf lauf(*this);
        lauf.aktiv(true);
        lauf.s.aktualisiereVorschau(false);
        EXPECT_EQ(lauf.ud.text("vorschauVorher"), "aus");
        EXPECT_EQ(test::zaehle(test::protokollTexte(), "Vorschau aus"), 1);
    }
    // A crash while restoring (after the preference is written, before the setting
    // is removed) restores once more at the next start, to the same value.
    {
        Lauf lauf(*this);
        lauf.aktiv(false);
        praeferenzen.absturzBeimSynchronisieren = true;
        EXPECT_THROW(lauf.s.aktualisiereVorschau(false), Absturz);
        praeferenzen.absturzBeimSynchronisieren = false;
    }
    setzeVorschau(Wert(true));  // whatever it is now
    Lauf lauf(*this);
    lauf.aktiv(false);
    lauf.s.aktualisiereVorschau(false);
    EXPECT_EQ(vorschau(), Wert(false));
    EXPECT_TRUE(lauf.ud.wert("vorschauVorher").isUndefined());
}

}  // namespace
}  // namespace klebwerk
