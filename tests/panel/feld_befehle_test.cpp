// The panel's test commands: showing and hiding, the shortcut section, its picture.

#include <gtest/gtest.h>

#include <QImage>

#include "basis/prozesswerte.h"
#include "panel/feld_umgebung.h"

namespace klebwerk {
namespace {

class FeldBefehle : public ::testing::Test, public test::FeldUmgebung {
protected:
    void SetUp() override { starte(); }
    void befehl(const std::string& text) {
        s().testBefehl(text);
        desktop.uhr.laufeFaelliges();
    }
};

TEST_F(FeldBefehle, FeldSchaltetNurWennDerWertAbweicht) {
    befehl("feld|1");
    EXPECT_TRUE(s().feldSichtbar());
    EXPECT_TRUE(f().panel->sichtbar());
    befehl("feld|0");
    EXPECT_FALSE(s().feldSichtbar());
    EXPECT_FALSE(f().panel->sichtbar());
    befehl("feld|0");
    EXPECT_FALSE(s().feldSichtbar());
    EXPECT_NE(status().find("\"feldSichtbar\": false"), std::string::npos) << status();
}

TEST_F(FeldBefehle, KuerzelklappenKlapptDenAbschnitt) {
    befehl("kuerzelklappen");
    EXPECT_FALSE(f().kuerzelOffen());
    for (QWidget* z : f().kuerzelZeilen) EXPECT_TRUE(z->isHidden());
    befehl("kuerzelklappen");
    EXPECT_TRUE(f().kuerzelOffen());
}

TEST_F(FeldBefehle, FeldbildZeigtDenInhaltDoppeltAufGrauemRand) {
    befehl("feldbild");
    QImage bild(QString::fromStdString(datenOrdner() + "/feld.png"));
    ASSERT_FALSE(bild.isNull());
    const Rechteck r = f().panel->rahmen();
    EXPECT_EQ(bild.width(), static_cast<int>(2 * r.breite + 80));
    EXPECT_EQ(bild.height(), static_cast<int>(2 * r.hoehe + 80));
    EXPECT_EQ(bild.pixelColor(5, 5), QColor(140, 140, 140));
    // The middle of the content is the panel's dark ground, not the grey around it.
    const QColor mitte = bild.pixelColor(bild.width() / 2, 40 + 20);
    EXPECT_LT(mitte.lightness(), 60);
}

}  // namespace
}  // namespace klebwerk
