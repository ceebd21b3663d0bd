// The panel's own controls: the switch with its sound, callback and accessibility,
// and the key cap's width and styles.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QMouseEvent>

#include "panel/kappen_knopf.h"
#include "panel/schalter.h"

namespace klebwerk {
namespace {

struct Protokoll {
    std::vector<KlangArt> klaenge;
    int rueckrufe = 0;
};

void verdrahte(Schalter& s, Protokoll& p) {
    s.spiele = [&p](KlangArt k) { p.klaenge.push_back(k); };
    s.umgeschaltet = [&p] { ++p.rueckrufe; };
}

TEST(Schalter, EinDruckSchaltetUmSpieltDenKlangUndRuftZurueck) {
    Schalter s;
    Protokoll p;
    bool anImRueckruf = false;
    s.spiele = [&p](KlangArt k) { p.klaenge.push_back(k); };
    s.umgeschaltet = [&] {
        ++p.rueckrufe;
        anImRueckruf = s.an();
    };
    s.druecken();
    EXPECT_TRUE(s.an());
    EXPECT_TRUE(anImRueckruf) << "the callback sees the new state";
    EXPECT_EQ(s.knopfX(), 20);
    s.druecken();
    EXPECT_FALSE(s.an());
    EXPECT_EQ(s.knopfX(), 2);
    EXPECT_EQ(p.klaenge, (std::vector<KlangArt>{KlangArt::an, KlangArt::aus}));
    EXPECT_EQ(p.rueckrufe, 2);
}

TEST(Schalter, SetzenAusDemCodeOhneKlangUndRueckruf) {
    Schalter s;
    Protokoll p;
    verdrahte(s, p);
    s.setzeAn(true);
    s.setzeAn(true);
    EXPECT_TRUE(s.an());
    EXPECT_EQ(s.knopfX(), 20);
    ASSERT_TRUE(s.schein());
    EXPECT_DOUBLE_EQ(s.schein()->staerke, 0.85);
    s.setzeAn(false);
    EXPECT_EQ(s.knopfX(), 2);
    EXPECT_FALSE(s.schein()) << "an off switch does not glow";
    EXPECT_TRUE(p.klaenge.empty());
    EXPECT_EQ(p.rueckrufe, 0);
}

TEST(Schalter, DerMausdruckSchaltetSofort) {
    Schalter s;
    Protokoll p;
    verdrahte(s, p);
    QMouseEvent druck(QEvent::MouseButtonPress, QPointF(20, 13), QPointF(20, 13), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&s, &druck);
    EXPECT_TRUE(s.an());
    EXPECT_EQ(p.rueckrufe, 1);
}

TEST(Schalter, FuerHilfsmittelEinKontrollkaestchenMitWertEinsOderNull) {
    Schalter s;
    Protokoll p;
    verdrahte(s, p);
    s.titel = QStringLiteral("Sofort senden");
    QAccessibleInterface* zugang = QAccessible::queryAccessibleInterface(&s);
    ASSERT_NE(zugang, nullptr);
    EXPECT_EQ(zugang->role(), QAccessible::CheckBox);
    EXPECT_EQ(zugang->text(QAccessible::Name), "Sofort senden");
    ASSERT_NE(zugang->valueInterface(), nullptr);
    EXPECT_EQ(zugang->valueInterface()->currentValue(), QVariant(0));
    EXPECT_EQ(zugang->valueInterface()->currentValue().typeId(), QMetaType::Int);
    EXPECT_FALSE(zugang->state().checked);

    s.setzeAn(true);
    EXPECT_EQ(zugang->valueInterface()->currentValue(), QVariant(1));
    EXPECT_TRUE(zugang->state().checked);

    ASSERT_NE(zugang->actionInterface(), nullptr);
    zugang->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_FALSE(s.an());
    EXPECT_EQ(p.klaenge, std::vector<KlangArt>{KlangArt::aus});
    EXPECT_EQ(p.rueckrufe, 1);
}

TEST(KappenKnopf, NieSchmalerAls54SonstTextPlus18) {
    KappenKnopf k;
    k.setze(QStringLiteral("⌘4"), false, false);
    EXPECT_EQ(k.sizeHint(), QSize(54, 22));
    const QString lang = QStringLiteral("Taste drücken …");
    k.setze(lang, false, true);
    const int breite = QFontMetrics(k.font()).horizontalAdvance(lang) + 18;
    ASSERT_GT(breite, 54);
    EXPECT_EQ(k.sizeHint(), QSize(breite, 22));
}

TEST(KappenKnopf, AktivGehtVorLeer) {
    KappenKnopf k;
    k.setze(QStringLiteral("Festlegen"), true, false);
    EXPECT_TRUE(k.leer());
    EXPECT_FALSE(k.schein()) << "only the active cap glows";
    const int leerPunkte = k.font().pixelSize();
    k.setze(QStringLiteral("Festlegen"), true, true);
    EXPECT_TRUE(k.aktiv());
    ASSERT_TRUE(k.schein());
    EXPECT_DOUBLE_EQ(k.schein()->staerke, 0.7);
    EXPECT_EQ(k.font().pixelSize(), leerPunkte) << "active and empty caps share the small font";
    k.setze(QStringLiteral("⌃⌥D"), false, false);
    EXPECT_EQ(k.font().pixelSize(), 12);
    EXPECT_EQ(k.font().weight(), QFont::DemiBold);
}

}  // namespace
}  // namespace klebwerk
