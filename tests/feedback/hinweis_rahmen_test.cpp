#include <gtest/gtest.h>

#include <limits>

#include <QImage>

#include "feedback/hinweis.h"
#include "feedback/rahmen.h"
#include "platform/sim/sim_desktop.h"

namespace klebwerk {
namespace {

class Ueberlagerung : public ::testing::Test {
protected:
    sim::SimDesktop desktop;
    Plattform plattform = desktop.plattform();
};

TEST_F(Ueberlagerung, ZweiterHinweisErsetztDenErstenUndSeineUhr) {
    Hinweis h(plattform);
    h.zeige("Erster", 1.0);
    desktop.uhr.vorwaerts(0.5);
    h.zeige("Zweiter", 1.8);
    EXPECT_EQ(h.text(), "Zweiter");
    desktop.uhr.vorwaerts(0.6);  // the first hint's time has run out
    EXPECT_TRUE(h.sichtbar());
    desktop.uhr.vorwaerts(1.3);
    EXPECT_FALSE(h.sichtbar());
}

TEST_F(Ueberlagerung, HinweisOhneDauerBleibtBisWeg) {
    Hinweis h(plattform);
    h.zeige("Bleibt", std::nullopt);
    desktop.uhr.vorwaerts(600);
    EXPECT_TRUE(h.sichtbar());
    h.weg();
    EXPECT_FALSE(h.sichtbar());
}

TEST_F(Ueberlagerung, HinweisStehtObenMittigAufDemBildschirmMitDemZeiger) {
    desktop.bildschirme.liste = {{{0, 0, 1440, 900}, {0, 25, 1440, 875}},
                                 {{1440, -200, 1920, 1080}, {1440, -200, 1920, 1040}}};
    Hinweis h(plattform);
    for (Punkt zeiger : {Punkt{2000, 300}, Punkt{100, 100}, Punkt{-500, -500}}) {
        desktop.eingabe.zeigerPosition = zeiger;
        h.zeige("Screenshot eingefügt");
        Rechteck r = h.rahmen();
        const Bildschirm& b = zeiger.x >= 1440 ? desktop.bildschirme.liste[1] : desktop.bildschirme.liste[0];
        EXPECT_EQ(r.hoehe, 46);
        EXPECT_EQ(r.y, b.sichtbar.y + 20);
        EXPECT_NEAR(r.x + r.breite / 2, b.sichtbar.x + b.sichtbar.breite / 2, 1.0);
        EXPECT_GT(r.breite, 36) << "the text's width plus 18 points each side";
    }
}

TEST_F(Ueberlagerung, RahmenDecktDasFensterUndVerschwindetNachSeinerZeit) {
    Rahmen r(plattform);
    r.zeige({100, 50, 400, 300}, QColor(Qt::green), 1.5);
    EXPECT_TRUE(r.sichtbar());
    EXPECT_EQ(r.rahmen(), (Rechteck{100, 50, 400, 300}));
    desktop.uhr.vorwaerts(1.4);
    EXPECT_TRUE(r.sichtbar());
    r.zeige({0, 0, 200, 100}, akzentFarbe());  // replaces the first, without a time
    desktop.uhr.vorwaerts(5);
    EXPECT_TRUE(r.sichtbar());
    EXPECT_EQ(r.farbe(), akzentFarbe());
    r.weg();
    EXPECT_FALSE(r.sichtbar());
}

TEST_F(Ueberlagerung, RahmenMitUnmoeglicherFlaecheErscheintNicht) {
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    const Rechteck faelle[] = {
        {-5.0416e307, 0, 400, 300}, {100, 50, nan, 300}, {inf, 50, 400, 300}, {100, 50, 400, 3e9}, {100, 50, 0, 300},
    };
    for (const Rechteck& f : faelle) {
        Rahmen r(plattform);
        r.zeige({100, 50, 400, 300}, QColor(Qt::green));
        r.zeige(f, QColor(Qt::green), 1.5);
        EXPECT_FALSE(r.sichtbar()) << f.x << " " << f.y << " " << f.breite << " " << f.hoehe;
    }
}

TEST_F(Ueberlagerung, RahmenZeichnetZweiPunkteInnerhalbDerKanten) {
    Rahmen r(plattform);
    r.zeige({0, 0, 200, 120}, QColor(255, 0, 0), std::nullopt);
    QImage bild(200, 120, QImage::Format_ARGB32);
    bild.fill(Qt::transparent);
    r.ansicht().render(&bild, QPoint(), QRegion(), QWidget::DrawChildren);
    // A 3-point stroke centred 2 points inside the edge covers 0.5 … 3.5.
    EXPECT_LE(qAlpha(bild.pixel(0, 60)), 140) << "the outermost point is only half covered";
    EXPECT_GT(qAlpha(bild.pixel(2, 60)), 240);
    EXPECT_EQ(qRed(bild.pixel(2, 60)), 255);
    EXPECT_EQ(qAlpha(bild.pixel(5, 60)), qAlpha(bild.pixel(100, 60))) << "inside the stroke: the fill";
    int mitte = qAlpha(bild.pixel(100, 60));
    EXPECT_GT(mitte, 10);
    EXPECT_LT(mitte, 40) << "the inside is filled at a tenth";
}

TEST_F(Ueberlagerung, OhneZusammensetzerIstDerRahmenNurSeinUmriss) {
    desktop.bildschirme.zusammengesetzt = false;
    Rahmen r(plattform);
    r.zeige({10, 10, 300, 200}, QColor(Qt::green), std::nullopt);
    QRegion maske = r.ansicht().mask();
    EXPECT_FALSE(maske.isEmpty());
    EXPECT_TRUE(maske.contains(QPoint(3, 100)));
    EXPECT_FALSE(maske.contains(QPoint(150, 100))) << "the marked window stays visible";
}

}  // namespace
}  // namespace klebwerk
