// The control panel: where it stands, what its header, switches and caps show for the
// controller's state, and what its buttons do.

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>

#include "panel/farben.h"
#include "panel/feld_platz.h"
#include "panel/kappen_knopf.h"
#include "panel/punkt_ansicht.h"
#include "panel/schalter.h"
#include "panel/status_punkt.h"
#include "panel/feld_umgebung.h"

namespace klebwerk {
namespace {

using test::FeldUmgebung;

class Feld : public ::testing::Test, public FeldUmgebung {
protected:
    void SetUp() override { starte(); }
    void TearDown() override { setzeEnglisch(false); }

    StatusPunkt& punkt() { return *static_cast<StatusPunkt*>(f().punkt); }
    QWidget* zeile(const std::string& schluessel) { return f().zeilen.at(schluessel).first; }
    Schalter& schalter(const std::string& schluessel) { return *f().zeilen.at(schluessel).second; }
};

TEST_F(Feld, FrischStehtEsObenRechtsMitZugeklappterListeOffenenKuerzelnTonUndGrauemPunkt) {
    ASSERT_TRUE(f().panel->sichtbar());
    const Rechteck r = f().panel->rahmen();
    // The simulated main screen's visible area is (0, 25) 1440 × 875.
    EXPECT_EQ(r.x, 1440 - 290);
    EXPECT_EQ(r.y, 25 + 20);
    EXPECT_EQ(r.breite, 270);
    EXPECT_TRUE(f().listenFlaeche->isHidden());
    for (QWidget* z : f().kuerzelZeilen) EXPECT_FALSE(z->isHidden());
    EXPECT_EQ(f().tonKnopf->accessibleName(), "Töne ausschalten");
    EXPECT_EQ(f().statusFarbe(), std::nullopt);
    EXPECT_EQ(punkt().fuellung(), grau(0.4));
    EXPECT_EQ(punkt().scheinStaerke(), 0.0);
    EXPECT_EQ(f().zielText->text(), "Kein Zielfenster");
    EXPECT_TRUE(f().punktFenster->isHidden());
}

struct PunktFall {
    const char* name;
    bool vertraut;
    bool mitZiel;
    bool pausiert;
    std::optional<QColor> farbe;
};

class PunktFarbe : public Feld, public ::testing::WithParamInterface<PunktFall> {};

TEST_P(PunktFarbe, FolgtFreigabeZielUndPause) {
    const PunktFall& fall = GetParam();
    if (fall.mitZiel) verbinde("Gespräch");
    s().ud.setzeWahr("pausiert", fall.pausiert);
    s().vertraut = fall.vertraut;
    f().aktualisiere();
    EXPECT_EQ(f().statusFarbe(), fall.farbe);
    EXPECT_EQ(punkt().fuellung(), fall.farbe.value_or(grau(0.4)));
    EXPECT_EQ(punkt().scheinStaerke(), fall.farbe ? 0.9 : 0.0);
    EXPECT_EQ(f().punktAnsicht->farbe(), fall.farbe);
}

INSTANTIATE_TEST_SUITE_P(
    Faelle, PunktFarbe,
    ::testing::Values(PunktFall{"OhneZiel", true, false, false, std::nullopt},
                      PunktFall{"Aktiv", true, true, false, feldMint()},
                      PunktFall{"Pausiert", true, true, true, feldRot()},
                      PunktFall{"OhneFreigabeTrotzZiel", false, true, false, std::nullopt},
                      PunktFall{"OhneFreigabePausiert", false, true, true, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

struct KopfFall {
    const char* name;
    bool englisch;
    int ziele;
    const char* text;
};

class KopfText : public ::testing::Test, public FeldUmgebung, public ::testing::WithParamInterface<KopfFall> {
protected:
    void TearDown() override { setzeEnglisch(false); }
};

TEST_P(KopfText, NameUndBeiMehrerenDieZahlDerFenster) {
    const KopfFall& fall = GetParam();
    setzeEnglisch(fall.englisch);
    starte();
    const char* titel[] = {"Gespräch", "Entwurf", "notizen.txt"};
    std::shared_ptr<Ziel> letztes;
    for (int i = 0; i < fall.ziele; ++i) letztes = verbinde(titel[i]);
    f().aktualisiere();
    EXPECT_EQ(f().zielText->text().toStdString(), fall.text);
    EXPECT_EQ(f().zielText->toolTip().toStdString(), letztes->anzeige());
}

INSTANTIATE_TEST_SUITE_P(Faelle, KopfText,
                         ::testing::Values(KopfFall{"EinesDeutsch", false, 1, "Gespräch"},
                                           KopfFall{"DreiDeutsch", false, 3, "notizen.txt  · 3 Fenster"},
                                           KopfFall{"EinesEnglisch", true, 1, "Gespräch"},
                                           KopfFall{"DreiEnglisch", true, 3, "notizen.txt  · 3 windows"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Feld, OhneDiktatVerschwindetNachDiktatSendenUndDieUnterkanteRuecktHoch) {
    s().ud.setzeWahr("diktatAn", true);
    f().aktualisiere();
    ASSERT_FALSE(zeile("diktatSenden")->isHidden());
    const Rechteck mit = f().panel->rahmen();

    s().ud.setzeWahr("diktatAn", false);
    f().aktualisiere();
    EXPECT_TRUE(zeile("diktatSenden")->isHidden());
    const Rechteck ohne = f().panel->rahmen();
    EXPECT_EQ(ohne.y, mit.y) << "the top edge stays";
    EXPECT_EQ(ohne.x, mit.x);
    // The row (26 high) and the space after it (14) are gone.
    EXPECT_EQ(mit.hoehe - ohne.hoehe, 40);
    EXPECT_EQ(f().inhalt->height(), ohne.hoehe);
}

TEST(FeldHoehe, EinUnterschiedBisEinHalbPunktLaesstDenRahmen) {
    const Rechteck r{100, 50, 270, 400};
    EXPECT_EQ(gepassteHoehe(r, 400), std::nullopt);
    EXPECT_EQ(gepassteHoehe(r, 400.5), std::nullopt);
    EXPECT_EQ(gepassteHoehe(r, 399.5), std::nullopt);
    EXPECT_EQ(gepassteHoehe(r, 400.6), (Rechteck{100, 50, 270, 400.6}));
    EXPECT_EQ(gepassteHoehe(r, 360), (Rechteck{100, 50, 270, 360}));
}

TEST_F(Feld, EinePassendeHoeheLaesstDenRahmenUndSpeichertNichts) {
    f().panel->setzeRahmen({300, 200, 270, f().panel->rahmen().hoehe});
    s().ud.entferne("rahmen.Bedienfeld");
    f().aktualisiere();
    EXPECT_EQ(f().panel->rahmen().x, 300);
    EXPECT_EQ(f().panel->rahmen().y, 200);
    EXPECT_TRUE(s().ud.wert("rahmen.Bedienfeld").isUndefined());
}

TEST_F(Feld, EineKappeZeigtDieAufnahmeUndIhrDruckBrichtSieAb) {
    s().ud.setze("kuerzel.senden", QJsonArray{2, 0x1800, "⌃⌥D"});
    KappenKnopf* senden = f().kappen.at(KuerzelArt::senden);
    KappenKnopf* diktat = f().kappen.at(KuerzelArt::diktat);

    s().kuerzelAufnehmen(KuerzelArt::senden);
    desktop.uhr.laufeFaelliges();
    ASSERT_EQ(s().modus, Modus::kuerzel);
    EXPECT_EQ(senden->text(), "Taste drücken …");
    EXPECT_TRUE(senden->aktiv());
    EXPECT_EQ(diktat->text(), "Festlegen");
    EXPECT_TRUE(diktat->leer());
    EXPECT_FALSE(diktat->aktiv());

    senden->click();
    desktop.uhr.laufeFaelliges();
    EXPECT_EQ(s().modus, Modus::keiner);
    EXPECT_EQ(s().kuerzelLernen, std::nullopt);
    EXPECT_EQ(senden->text(), "⌃⌥D");
    EXPECT_FALSE(senden->aktiv());
    EXPECT_FALSE(senden->leer());
    EXPECT_EQ(senden->toolTip(), "⌃⌥D – klicken zum Ändern (⌫ löscht)");
    EXPECT_EQ(s().ud.wert("kuerzel.senden").toArray()[2].toString(), "⌃⌥D") << "nothing was stored";
}

TEST_F(Feld, DieAndereKappeStartetIhreAufnahme) {
    s().kuerzelAufnehmen(KuerzelArt::senden);
    f().kappen.at(KuerzelArt::diktat)->click();
    desktop.uhr.laufeFaelliges();
    EXPECT_EQ(s().kuerzelLernen, KuerzelArt::diktat);
    EXPECT_TRUE(f().kappen.at(KuerzelArt::diktat)->aktiv());
    EXPECT_FALSE(f().kappen.at(KuerzelArt::senden)->aktiv());
}

TEST_F(Feld, TonAusSpieltNichtsTonAnSpieltAn) {
    desktop.klang.gespielt.clear();
    f().tonKnopf->click();
    EXPECT_FALSE(s().klang.an());
    EXPECT_TRUE(klaenge().empty());
    EXPECT_EQ(f().tonKnopf->accessibleName(), "Töne einschalten");
    EXPECT_EQ(f().tonKnopf->toolTip(), "Töne an");

    f().tonKnopf->click();
    EXPECT_TRUE(s().klang.an());
    EXPECT_EQ(klaenge(), std::vector<KlangArt>{KlangArt::an});
    EXPECT_EQ(f().tonKnopf->accessibleName(), "Töne ausschalten");
}

TEST_F(Feld, DerAktivSchalterPausiertMitKlangUndDerPunktWirdRot) {
    verbinde("Gespräch");
    desktop.klang.gespielt.clear();
    ASSERT_TRUE(schalter("aktiv").an());
    schalter("aktiv").druecken();
    EXPECT_TRUE(s().pausiert());
    EXPECT_EQ(punkt().fuellung(), feldRot());
    EXPECT_FALSE(schalter("aktiv").an());
    EXPECT_EQ(klaenge(), std::vector<KlangArt>{KlangArt::aus});
}

TEST_F(Feld, SchalterFolgenDenEinstellungen) {
    s().ud.setzeWahr("papierkorb", true);
    s().ud.setzeWahr("aufnahmen", false);
    f().aktualisiere();
    EXPECT_TRUE(schalter("papierkorb").an());
    EXPECT_FALSE(schalter("aufnahmen").an());
    schalter("aufnahmen").druecken();
    EXPECT_TRUE(s().aufnahmen());
    EXPECT_TRUE(schalter("aufnahmen").an());
}

TEST_F(Feld, SchliessenVerbirgtFeldUndPunktUndWiederZeigenFuehrtZumPunktWennMini) {
    QPushButton* zu = knopf("Bedienfeld ausblenden");
    ASSERT_NE(zu, nullptr);
    zu->click();
    EXPECT_FALSE(s().feldSichtbar());
    EXPECT_FALSE(f().panel->sichtbar());
    EXPECT_FALSE(f().punktFenster->sichtbar());

    f().setzeMini(true);
    s().schalteFeld();
    EXPECT_TRUE(s().feldSichtbar());
    EXPECT_FALSE(f().panel->sichtbar()) << "the point stands for the panel";

    s().schalteFeld();
    f().setzeMini(false);
    s().schalteFeld();
    EXPECT_TRUE(f().panel->sichtbar());
}

TEST_F(Feld, KlappenOeffnetDieListeUndSchliesstDieKuerzel) {
    const double hoehe = f().panel->rahmen().hoehe;
    f().pfeil->click();
    EXPECT_TRUE(f().listeOffen());
    EXPECT_FALSE(f().listenFlaeche->isHidden());
    EXPECT_EQ(f().pfeil->accessibleName(), "Fensterliste einklappen");

    f().kuerzelPfeil->click();
    EXPECT_FALSE(f().kuerzelOffen());
    EXPECT_EQ(s().ud.wert("kuerzelOffen"), QJsonValue(false));
    for (QWidget* z : f().kuerzelZeilen) EXPECT_TRUE(z->isHidden());
    EXPECT_LT(f().panel->rahmen().hoehe, hoehe);
    EXPECT_EQ(f().kuerzelPfeil->accessibleName(), "Kürzel aufklappen");
}

TEST_F(Feld, KuerzelOffenIstOhneWahrheitswertOffen) {
    s().ud.setze("kuerzelOffen", QJsonValue("nein"));
    EXPECT_TRUE(f().kuerzelOffen());
}

// The stored frame, moved onto a screen that exists.
struct RahmenFall {
    const char* name;
    Rechteck gespeichert;
    double x, y;
};

class GespeicherterRahmen : public ::testing::Test,
                            public FeldUmgebung,
                            public ::testing::WithParamInterface<RahmenFall> {};

TEST_P(GespeicherterRahmen, KommtZurueckAufEinenBildschirm) {
    desktop.bildschirme.liste = {{{0, 0, 1440, 900}, {0, 25, 1440, 875}}, {{1440, 0, 1024, 768}, {1440, 0, 1024, 768}}};
    const Rechteck& r = GetParam().gespeichert;
    ud.setze("rahmen.Bedienfeld", QJsonArray{r.x, r.y, r.breite, r.hoehe});
    starte();
    EXPECT_EQ(f().panel->rahmen().x, GetParam().x);
    EXPECT_EQ(f().panel->rahmen().y, GetParam().y);
}

INSTANTIATE_TEST_SUITE_P(
    Faelle, GespeicherterRahmen,
    ::testing::Values(RahmenFall{"Unveraendert", {300, 200, 270, 500}, 300, 200},
                      RahmenFall{"AufDemZweiten", {1700, 100, 270, 500}, 1700, 100},
                      RahmenFall{"RechtsUeberDenZweitenHinaus", {2400, 100, 270, 500}, 2464 - 270, 100},
                      RahmenFall{"UnterDieMenueleiste", {100, 0, 270, 500}, 100, 25},
                      RahmenFall{"WeitAusserhalb", {-5000, 3000, 270, 500}, 0, 900 - 500}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Feld, DasZiehenDesHintergrundsSpeichertDenRahmenAmEnde) {
    FeldPanel& p = *f().panel;
    const QPoint start = p.pos() + QPoint(100, 6);
    auto sende = [&](QEvent::Type art, QPoint global, Qt::MouseButtons knoepfe) {
        QMouseEvent e(art, QPointF(global - p.pos()), QPointF(global), Qt::LeftButton, knoepfe, Qt::NoModifier);
        QCoreApplication::sendEvent(&p, &e);
    };
    sende(QEvent::MouseButtonPress, start, Qt::LeftButton);
    sende(QEvent::MouseMove, start + QPoint(-200, 150), Qt::LeftButton);
    sende(QEvent::MouseButtonRelease, start + QPoint(-200, 150), Qt::NoButton);
    const Rechteck r = p.rahmen();
    EXPECT_EQ(r.x, 1150 - 200);
    EXPECT_EQ(r.y, 45 + 150);
    EXPECT_EQ(s().ud.wert("rahmen.Bedienfeld").toArray(), (QJsonArray{r.x, r.y, r.breite, r.hoehe}));
}

}  // namespace
}  // namespace klebwerk
