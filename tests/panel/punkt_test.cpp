#include <gtest/gtest.h>

#include <QAccessible>
#include <QAbstractAnimation>
#include <QApplication>
#include <QImage>
#include <QMouseEvent>

#include "basis/prozesswerte.h"
#include "panel/bedienfeld.h"
#include "panel/feld_panel.h"
#include "panel/feld_rahmen.h"
#include "panel/farben.h"
#include "panel/flug.h"
#include "panel/punkt_ansicht.h"
#include "support/sim_steuerung.h"

namespace klebwerk {
namespace {

class PunktModus : public ::testing::Test {
protected:
    test::SimUmgebung u;
    Steuerung& s = *u.steuerung;
    Bedienfeld& f = s.feld();
    PunktAnsicht& punkt = *f.punktAnsicht;
    FeldPanel& fenster = *f.punktFenster;
    bool warEnglisch = englisch();
    // The panel's place for these tests, at the height its content needs.
    Rechteck feldRahmen;

    void SetUp() override {
        setzeEnglisch(false);
        f.aktualisiere();
        feldRahmen = {300, 200, 270, f.panel->rahmen().hoehe};
        f.panel->setzeRahmen(feldRahmen);
        f.panel->vorne();
    }
    void TearDown() override { setzeEnglisch(warEnglisch); }

    void vor(double sekunden) { u.desktop.uhr.vorwaerts(sekunden); }

    // Shrinks and lets the flight end.
    void verkleinere() {
        f.minimieren();
        vor(2);
    }

    // One mouse event at a global position, as the window system hands it to the view.
    void maus(QEvent::Type art, QPointF global) {
        QPointF lokal = global - QPointF(punkt.mapToGlobal(QPoint(0, 0)));
        Qt::MouseButton knopf = art == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        Qt::MouseButtons gehalten = art == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(art, lokal, global, knopf, gehalten, Qt::NoModifier);
        QCoreApplication::sendEvent(&punkt, &e);
    }
    void klick(QPointF wo) {
        maus(QEvent::MouseButtonPress, wo);
        maus(QEvent::MouseButtonRelease, wo);
    }
    void doppelklick(QPointF wo) {
        klick(wo);
        maus(QEvent::MouseButtonDblClick, wo);
        maus(QEvent::MouseButtonRelease, wo);
    }
    QPointF mitte() const {
        Rechteck r = fenster.rahmen();
        return {r.x + 22, r.y + 22};
    }

    int gespielt(KlangArt art) {
        int n = 0;
        for (const std::string& wav : u.desktop.klang.gespielt) n += wav == s.klang.daten(art);
        return n;
    }
    std::optional<Rechteck> gespeicherterPunkt() { return gespeicherterRahmen(u.ud, "Punkt"); }

    // The overlay windows that are on screen (the flying picture).
    static int ueberlagerungen() {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            n += w->isVisible() && w->windowFlags().testFlag(Qt::WindowTransparentForInput);
        return n;
    }
};

TEST_F(PunktModus, DreiPunkteBewegungSindEinKlickMehrIstEinZiehen) {
    struct Fall {
        QPointF weg;
        bool klick;
    };
    const Fall faelle[] = {{{3, 0}, true}, {{2, 2}, true}, {{0, -3}, true}, {{3, 1}, false}, {{0, 4}, false}};
    f.zeigePunkt();
    int angetippt = 0;
    punkt.antippen = [&] { ++angetippt; };
    for (const Fall& fall : faelle) {
        angetippt = 0;
        Rechteck vorher = fenster.rahmen();
        QPointF start = mitte();
        maus(QEvent::MouseButtonPress, start);
        maus(QEvent::MouseMove, start + fall.weg);
        maus(QEvent::MouseButtonRelease, start + fall.weg);
        vor(2);
        EXPECT_EQ(angetippt, fall.klick ? 1 : 0) << fall.weg.x() << "," << fall.weg.y();
        Rechteck nachher = fenster.rahmen();
        EXPECT_EQ(nachher.x != vorher.x || nachher.y != vorher.y, !fall.klick) << fall.weg.x() << "," << fall.weg.y();
    }
}

TEST_F(PunktModus, EinKlickStelltDasFeldErstNachDerDoppelklickzeitWiederHer) {
    verkleinere();
    ASSERT_TRUE(f.mini());
    punkt.antippen = [this] { f.wiederherstellen(); };
    const double warte = PunktAnsicht::klickVerzoegerung();
    EXPECT_DOUBLE_EQ(warte, std::min(QApplication::doubleClickInterval() / 1000.0, 0.35));
    klick(mitte());
    vor(warte - 0.01);
    EXPECT_TRUE(f.mini());
    EXPECT_TRUE(fenster.sichtbar());
    vor(0.02);
    EXPECT_FALSE(f.mini());
    EXPECT_FALSE(fenster.sichtbar());
}

TEST_F(PunktModus, DoppelklickPausiertUndSetztFortOhneDasFeldZuOeffnen) {
    verkleinere();
    punkt.antippen = [this] { f.wiederherstellen(); };
    punkt.doppelt = [this] { f.punktDoppelklick(); };
    u.desktop.klang.gespielt.clear();

    doppelklick(mitte());
    EXPECT_TRUE(s.pausiert()) << "at once, not after the delay";
    vor(2);
    EXPECT_TRUE(f.mini()) << "the pending single click was cancelled";
    EXPECT_EQ(gespielt(KlangArt::aktivAus), 1);
    EXPECT_EQ(s.hinweis.letzterText(), "Klebwerk pausiert");
    EXPECT_NE(u.status().find("\"pausiert\": true"), std::string::npos);

    s.testBefehl("punktdoppel");
    EXPECT_FALSE(s.pausiert());
    EXPECT_EQ(gespielt(KlangArt::aktivAn), 1);
    EXPECT_EQ(s.hinweis.letzterText(), "Klebwerk aktiv");
    vor(1.4);
    EXPECT_TRUE(s.hinweis.sichtbar());
    vor(0.2);
    EXPECT_FALSE(s.hinweis.sichtbar()) << "the hint stands for 1.5 s";
    EXPECT_TRUE(f.mini());
}

TEST_F(PunktModus, GezogenerPunktFolgtGleitendUndSpeichertSeinenOrtErstInRuhe) {
    f.zeigePunkt();
    fenster.setzeRahmen({500, 300, 44, 44});
    maus(QEvent::MouseButtonPress, {522, 322});
    maus(QEvent::MouseMove, {622, 372});  // 100 right, 50 down: the target is (600, 350)
    vor(1.0 / 60);
    EXPECT_EQ(fenster.rahmen(), (Rechteck{520, 310, 44, 44})) << "a fifth of the way per tick";
    vor(3);
    EXPECT_EQ(fenster.rahmen(), (Rechteck{600, 350, 44, 44}));
    EXPECT_TRUE(punkt.gleitet()) << "the glide goes on while the button is held";
    EXPECT_FALSE(gespeicherterPunkt());

    maus(QEvent::MouseMove, {722, 522});  // the target becomes (700, 500)
    maus(QEvent::MouseButtonRelease, {722, 522});
    vor(2.0 / 60);
    EXPECT_GT(fenster.rahmen().x, 600);
    EXPECT_LT(fenster.rahmen().x, 700);
    EXPECT_FALSE(gespeicherterPunkt()) << "still on its way";
    vor(3);
    EXPECT_EQ(fenster.rahmen(), (Rechteck{700, 500, 44, 44}));
    EXPECT_EQ(gespeicherterPunkt(), (Rechteck{700, 500, 44, 44}));
    EXPECT_FALSE(punkt.gleitet());
}

TEST_F(PunktModus, VerkleinernUndWiederherstellenKehrenZurSelbenEckeZurueck) {
    f.minimieren();
    EXPECT_TRUE(f.mini());
    EXPECT_EQ(gespielt(KlangArt::zu), 1);
    EXPECT_FALSE(f.panel->sichtbar());
    EXPECT_EQ(fenster.rahmen(), (Rechteck{302, 196, 44, 44})) << "over the panel's top-left corner";
    EXPECT_TRUE(f.animiert);
    EXPECT_EQ(ueberlagerungen(), 1);
    vor(Flug::sogDauer);
    EXPECT_TRUE(fenster.sichtbar()) << "the point appears when the picture arrives";
    EXPECT_EQ(ueberlagerungen(), 1) << "the picture covers the point's appearance";
    vor(0.05);
    EXPECT_FALSE(f.animiert);
    EXPECT_EQ(ueberlagerungen(), 0);

    f.wiederherstellen();
    EXPECT_FALSE(f.mini());
    EXPECT_EQ(gespielt(KlangArt::auf), 1);
    EXPECT_EQ(gespeicherterPunkt(), (Rechteck{302, 196, 44, 44}));
    EXPECT_FALSE(fenster.sichtbar());
    EXPECT_EQ(f.panel->rahmen(), feldRahmen);
    EXPECT_FALSE(f.panel->sichtbar()) << "the panel shows when the picture has grown";
    vor(Flug::aufgehFeder().ruhezeit());
    EXPECT_TRUE(f.panel->sichtbar());
    vor(0.05);
    EXPECT_FALSE(f.animiert);
    EXPECT_EQ(ueberlagerungen(), 0);
}

TEST_F(PunktModus, MinimierenWaehrendDerAnimationOderVerkleinertTutNichts) {
    f.minimieren();
    u.desktop.klang.gespielt.clear();
    f.minimieren();  // during the flight
    vor(0.2);
    f.wiederherstellen();  // during the flight: nothing either
    EXPECT_TRUE(f.mini());
    vor(2);
    ASSERT_FALSE(f.animiert);
    f.minimieren();  // already shrunk
    EXPECT_TRUE(u.desktop.klang.gespielt.empty());
    EXPECT_FALSE(f.animiert);
    EXPECT_TRUE(fenster.sichtbar());
}

TEST_F(PunktModus, WiederherstellenOhneVerkleinerungLaesstPunktUndFeldInRuhe) {
    speichereRahmen(u.ud, "Punkt", {800, 500, 44, 44});
    f.wiederherstellen();
    EXPECT_EQ(gespeicherterPunkt(), (Rechteck{800, 500, 44, 44}));
    EXPECT_EQ(f.panel->rahmen(), feldRahmen);
    EXPECT_TRUE(u.desktop.klang.gespielt.empty());
    EXPECT_FALSE(f.animiert);
}

TEST_F(PunktModus, GespeicherterPunktEinesFehlendenBildschirmsKommtAufDenBildschirm) {
    // Stored on a monitor right of the main one that is no longer there.
    speichereRahmen(u.ud, "Punkt", {2500, 300, 44, 44});
    f.zeigePunkt();
    EXPECT_EQ(fenster.rahmen(), (Rechteck{1396, 300, 44, 44})) << "shown the first time in a run";
    fenster.weg();
    fenster.setzeRahmen({10, 400, 44, 44});
    f.minimieren();
    vor(2);
    EXPECT_EQ(fenster.rahmen(), (Rechteck{1396, 300, 44, 44})) << "shrunk to it";
    EXPECT_TRUE(fenster.sichtbar());
}

TEST_F(PunktModus, InEineEckeGezogenerPunktOeffnetDasFeldGanzImSichtbarenBereich) {
    // The main screen and one to its right, taller, with a panel along its bottom.
    u.desktop.bildschirme.liste = {{{0, 0, 1440, 900}, {0, 25, 1440, 875}},
                                   {{1440, 0, 1920, 1200}, {1440, 0, 1920, 1160}}};
    struct Fall {
        Rechteck punkt;
        Punkt feldEcke;
    };
    const double h = feldRahmen.hoehe;
    const Fall faelle[] = {
        {{1396, 856, 44, 44}, {1170, 900 - h}},    // main screen, bottom right
        {{0, 25, 44, 44}, {0, 29}},                // main screen, top left
        {{1440, 1116, 44, 44}, {1440, 1160 - h}},  // right screen, bottom left
        {{3316, 0, 44, 44}, {3090, 4}},            // right screen, top right
    };
    for (const Fall& fall : faelle) {
        verkleinere();
        fenster.setzeRahmen(fall.punkt);
        f.wiederherstellen();
        vor(2);
        EXPECT_EQ(f.panel->rahmen(), (Rechteck{fall.feldEcke.x, fall.feldEcke.y, 270, h}))
            << fall.punkt.x << "," << fall.punkt.y;
    }
}

TEST_F(PunktModus, GleicheFarbeLaesstDenPulsLaufenNeueStartetIhnKeineHaeltIhnAn) {
    auto mittelpunkt = [this] {
        QImage bild(44, 44, QImage::Format_ARGB32);
        bild.fill(Qt::transparent);
        punkt.render(&bild, QPoint(), QRegion(), QWidget::DrawChildren);
        return bild.pixel(22, 22);
    };
    punkt.setze(feldMint());
    ASSERT_TRUE(punkt.pulsiert());
    punkt.puls()->setCurrentTime(1234);
    punkt.setze(feldMint());
    EXPECT_EQ(punkt.puls()->currentTime(), 1234) << "a refresh leaves the breath alone";
    EXPECT_EQ(mittelpunkt(), feldMint().rgb());

    punkt.setze(feldRot());
    EXPECT_TRUE(punkt.pulsiert());
    EXPECT_EQ(punkt.puls()->currentTime(), 0) << "a new colour starts the breath afresh";
    EXPECT_EQ(mittelpunkt(), feldRot().rgb());

    punkt.setze(std::nullopt);
    EXPECT_FALSE(punkt.pulsiert());
    EXPECT_EQ(mittelpunkt(), grau(0.45).rgb());
    punkt.setze(std::nullopt);
    EXPECT_FALSE(punkt.pulsiert());
}

TEST_F(PunktModus, DerAtemRuhtSolangeDerPunktVerstecktIst) {
    f.zeigePunkt();
    fenster.weg();
    punkt.setze(feldMint());
    EXPECT_EQ(punkt.puls()->state(), QAbstractAnimation::Paused);
    fenster.vorne();
    EXPECT_EQ(punkt.puls()->state(), QAbstractAnimation::Running);
    punkt.puls()->setCurrentTime(700);
    fenster.weg();
    EXPECT_EQ(punkt.puls()->state(), QAbstractAnimation::Paused);
    punkt.setze(feldMint());
    EXPECT_EQ(punkt.puls()->currentTime(), 700) << "a refresh of the hidden point does not restart it";
    fenster.vorne();
    EXPECT_EQ(punkt.puls()->state(), QAbstractAnimation::Running);
}

TEST_F(PunktModus, ZugaenglichAlsKnopfDessenDruckDasFeldSofortOeffnet) {
    int angetippt = 0;
    punkt.antippen = [&] { ++angetippt; };
    QAccessibleInterface* zugang = QAccessible::queryAccessibleInterface(&punkt);
    ASSERT_NE(zugang, nullptr);
    EXPECT_EQ(zugang->role(), QAccessible::Button);
    EXPECT_EQ(zugang->text(QAccessible::Name), "Bedienfeld öffnen");
    ASSERT_NE(zugang->actionInterface(), nullptr);
    zugang->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(angetippt, 1);
    EXPECT_EQ(punkt.toolTip(), "Klicken: Bedienfeld öffnen · Ziehen: verschieben");
}

TEST_F(PunktModus, PunktbildSchreibtBildUndZustand) {
    const std::string hoehe = std::to_string(static_cast<int>(feldRahmen.hoehe));
    f.zeigePunkt();
    s.testBefehl("punktbild");
    QImage bild(QString::fromStdString(u.heim.daten("punkt.png")));
    ASSERT_EQ(bild.size(), QSize(176, 176));
    EXPECT_EQ(bild.pixel(2, 2), grau(0.55).rgb()) << "the grey background";
    EXPECT_EQ(bild.pixel(88, 88), grau(0.45).rgb()) << "the dot without a status colour, at scale 4";
    EXPECT_LT(qGray(bild.pixel(88, 88 - 4 * 12)), 60) << "the dark disc around it";
    EXPECT_EQ(test::TempHeim::lies(u.heim.daten("punkt.txt")),
              "punkt sichtbar=true rahmen={{302, 196}, {44, 44}} | feld sichtbar=true rahmen={{300, 200}, {270, " + hoehe + "}} "
              "mini=false");
    s.testBefehl("mini|1");
    vor(2);
    s.testBefehl("punktbild");
    EXPECT_EQ(test::TempHeim::lies(u.heim.daten("punkt.txt")),
              "punkt sichtbar=true rahmen={{302, 196}, {44, 44}} | feld sichtbar=false rahmen={{300, 200}, {270, " + hoehe + "}} "
              "mini=true");
    s.testBefehl("mini|0");
    vor(2);
    s.testBefehl("punktbild");
    EXPECT_EQ(test::TempHeim::lies(u.heim.daten("punkt.txt")),
              "punkt sichtbar=false rahmen={{302, 196}, {44, 44}} | feld sichtbar=true rahmen={{300, 200}, {270, " + hoehe + "}} "
              "mini=false");
}

TEST(Flug, BildFliegtVomFeldZurScheibeUndZurueck) {
    const Rechteck feld{100, 100, 270, 400}, scheibe{108, 102, 32, 32};
    Flug sog(feld, scheibe, false);
    EXPECT_DOUBLE_EQ(sog.dauer(), 0.34);
    FlugBild anfang = sog.bei(0), ende = sog.bei(sog.dauer());
    EXPECT_EQ(anfang.rahmen, feld);
    EXPECT_DOUBLE_EQ(anfang.ecke, 16);
    EXPECT_DOUBLE_EQ(anfang.deckkraft, 1);
    EXPECT_NEAR(ende.rahmen.x, scheibe.x, 1e-6);
    EXPECT_NEAR(ende.rahmen.breite, scheibe.breite, 1e-6);
    EXPECT_NEAR(ende.ecke, 16, 1e-6) << "half the disc's width";
    EXPECT_NEAR(ende.deckkraft, 0.15, 1e-6);
    EXPECT_LT(feld.breite - sog.bei(0.17).rahmen.breite, 0.25 * (feld.breite - scheibe.breite))
        << "slow at first: under a quarter of the way at half the time";

    Flug auf(feld, scheibe, true);
    EXPECT_DOUBLE_EQ(auf.dauer(), Flug::aufgehFeder().ruhezeit());
    EXPECT_GT(auf.dauer(), 0.5);
    EXPECT_LT(auf.dauer(), 1.5);
    FlugBild start = auf.bei(0);
    EXPECT_EQ(start.rahmen, scheibe);
    EXPECT_DOUBLE_EQ(start.deckkraft, 0.3);
    EXPECT_DOUBLE_EQ(auf.bei(0.15).deckkraft, 1);
    EXPECT_DOUBLE_EQ(auf.bei(0.25).ecke, 16);
    EXPECT_EQ(auf.bei(auf.dauer()).rahmen, feld);
    double groesste = 0;
    for (double t = 0; t < auf.dauer(); t += 0.01) groesste = std::max(groesste, auf.bei(t).rahmen.breite);
    EXPECT_GT(groesste, feld.breite) << "the spring overshoots";
}

TEST(Feder, RuhezeitIstDerLetzteAugenblickAusserhalbEinesTausendstels) {
    for (Feder feder : {Feder{320, 11, 1, 0}, Feder{230, 15, 1, 2}, Feder{100, 20, 1, 0}, Feder{100, 40, 1, 0}}) {
        const double ruhe = feder.ruhezeit();
        EXPECT_NEAR(feder.wert(0), 0, 1e-12);
        bool spaeterAussen = false;
        for (double t = ruhe; t < ruhe + 5; t += 0.001) spaeterAussen |= std::abs(feder.wert(t) - 1) >= 1e-3;
        EXPECT_FALSE(spaeterAussen) << feder.steifigkeit << "/" << feder.daempfung;
        EXPECT_GE(std::abs(feder.wert(ruhe - 0.001) - 1), 1e-3 * 0.9) << feder.steifigkeit << "/" << feder.daempfung;
    }
}

}  // namespace
}  // namespace klebwerk
