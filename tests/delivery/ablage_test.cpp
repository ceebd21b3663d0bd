#include <gtest/gtest.h>

#include <fstream>

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>

#include "delivery/ablage.h"
#include "platform/sim/sim_desktop.h"

namespace klebwerk {
namespace {

class AblageTest : public ::testing::Test {
protected:
    QTemporaryDir ordner;
    sim::SimZwischenablage ablage;
    const GesicherteAblage vorher{{{"text/plain", "hallo"}, {"text/html", "<b>hallo</b>"}}, {{"UTF8_STRING", "zwei"}}};

    std::string bild(const std::string& name, const char* format, int breite = 40, int hoehe = 30) {
        QImage b(breite, hoehe, QImage::Format_RGB32);
        b.fill(QColor(10, 200, 30));
        std::string pfad = ordner.filePath(QString::fromStdString(name)).toStdString();
        EXPECT_TRUE(b.save(QString::fromStdString(pfad), format));
        return pfad;
    }
    std::string datei(const std::string& name, const std::string& inhalt) {
        std::string pfad = ordner.filePath(QString::fromStdString(name)).toStdString();
        std::ofstream(pfad, std::ios::binary) << inhalt;
        return pfad;
    }
};

TEST_F(AblageTest, BildKommtAlsPngMitDateiUrl) {
    for (auto [name, format] : {std::pair{"Bildschirmfoto 1.png", "PNG"}, std::pair{"b.jpg", "JPEG"},
                                std::pair{"c.tiff", "TIFF"}}) {
        std::string pfad = bild(name, format);
        ASSERT_TRUE(legeAuf(ablage, pfad, false)) << name;
        ASSERT_EQ(ablage.inhalt.size(), 1u);
        const AblageEintrag& e = ablage.inhalt[0];
        EXPECT_EQ(e.size(), 2u);
        EXPECT_EQ(e.at(ablagetyp::dateiUrl), dateiUrl(pfad) + "\r\n");
        QImage gelesen;
        ASSERT_TRUE(gelesen.loadFromData(QByteArray::fromStdString(e.at(ablagetyp::png)), "PNG")) << name;
        EXPECT_EQ(gelesen.size(), QSize(40, 30));
    }
    EXPECT_NE(dateiUrl(ordner.path().toStdString() + "/Bildschirmfoto 1.png").find("Bildschirmfoto%201.png"),
              std::string::npos);
}

TEST_F(AblageTest, AufnahmeKommtNurAlsDateiverweis) {
    std::string pfad = datei("Bildschirmaufnahme.mov", "kein echtes Video");
    ASSERT_TRUE(legeAuf(ablage, pfad, true));
    ASSERT_EQ(ablage.inhalt.size(), 1u);
    EXPECT_EQ(ablage.inhalt[0].count(ablagetyp::png), 0u);
    EXPECT_EQ(ablage.inhalt[0].at(ablagetyp::dateiUrl), dateiUrl(pfad) + "\r\n");
}

TEST_F(AblageTest, UnlesbaresLaesstDieAblageUnberuehrt) {
    const std::vector<std::pair<std::string, bool>> faelle = {
        {datei("leer.png", ""), false},
        {datei("kaputt.png", std::string("\x89PNG\r\n\x1a\n", 8) + "abgeschnitten"), false},
        {datei("text.png", "nur Text"), false},
        {datei("bild.heic", "ftypheic"), false},
        {ordner.filePath("fehlt.png").toStdString(), false},
        {ordner.filePath("fehlt.mov").toStdString(), true},
        {ordner.path().toStdString(), true},  // a folder is no recording
    };
    for (const auto& [pfad, video] : faelle) {
        ablage.inhalt = vorher;
        std::int64_t zaehler = ablage.aenderungen();
        EXPECT_FALSE(legeAuf(ablage, pfad, video)) << pfad;
        EXPECT_EQ(ablage.inhalt, vorher) << pfad;
        EXPECT_EQ(ablage.aenderungen(), zaehler) << pfad;
    }
}

TEST_F(AblageTest, SichernUndWiederherstellenBehaeltEintraegeTypenUndBytes) {
    ablage.inhalt = vorher;
    ablage.inhalt[0]["application/octet-stream"] = std::string("\0\xff\x01", 3);
    GesicherteAblage gesichert = sichere(ablage);
    ASSERT_TRUE(legeAuf(ablage, bild("x.png", "PNG"), false));
    stelleHer(ablage, gesichert);
    EXPECT_EQ(ablage.inhalt, gesichert);
    EXPECT_EQ(ablage.inhalt[0].at("application/octet-stream"), std::string("\0\xff\x01", 3));
}

TEST_F(AblageTest, LeereAblageBleibtNachDemWiederherstellenLeer) {
    GesicherteAblage gesichert = sichere(ablage);
    EXPECT_TRUE(gesichert.empty());
    ablage.inhalt = vorher;
    stelleHer(ablage, gesichert);
    EXPECT_TRUE(ablage.inhalt.empty());
    ablage.inhalt = vorher;
    stelleHer(ablage, {{}, {}});  // items without types are dropped
    EXPECT_TRUE(ablage.inhalt.empty());
}

}  // namespace
}  // namespace klebwerk
