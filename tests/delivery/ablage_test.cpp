#include <gtest/gtest.h>

#include <fstream>
#include <optional>

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
    sim::SimDesktop desktop;
    sim::SimZwischenablage& ablage = desktop.ablage;
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
        ASSERT_TRUE(datenVon(e, ablagetyp::dateiUrl) && datenVon(e, ablagetyp::png));
        EXPECT_EQ(*datenVon(e, ablagetyp::dateiUrl), dateiUrl(pfad) + "\r\n");
        QImage gelesen;
        ASSERT_TRUE(gelesen.loadFromData(QByteArray::fromStdString(*datenVon(e, ablagetyp::png)), "PNG")) << name;
        EXPECT_EQ(gelesen.size(), QSize(40, 30));
    }
    EXPECT_NE(dateiUrl(ordner.path().toStdString() + "/Bildschirmfoto 1.png").find("Bildschirmfoto%201.png"),
              std::string::npos);
}

TEST_F(AblageTest, AufnahmeKommtNurAlsDateiverweis) {
    std::string pfad = datei("Bildschirmaufnahme.mov", "kein echtes Video");
    ASSERT_TRUE(legeAuf(ablage, pfad, true));
    ASSERT_EQ(ablage.inhalt.size(), 1u);
    EXPECT_FALSE(datenVon(ablage.inhalt[0], ablagetyp::png));
    ASSERT_TRUE(datenVon(ablage.inhalt[0], ablagetyp::dateiUrl));
    EXPECT_EQ(*datenVon(ablage.inhalt[0], ablagetyp::dateiUrl), dateiUrl(pfad) + "\r\n");
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

// Saves through the pasteboard's read, as a delivery does, and gives the result.
AblageLesung sichereJetzt(sim::SimDesktop& d) {
    std::optional<AblageLesung> ergebnis;
    Marke m = sichere(d.ablage, [&](AblageLesung l) { ergebnis = std::move(l); });
    EXPECT_FALSE(ergebnis) << "never inside the call";
    d.uhr.vorwaerts(d.ablage.lesedauer);
    EXPECT_TRUE(ergebnis);
    return ergebnis.value_or(AblageLesung{{}, "keine Antwort"});
}

TEST_F(AblageTest, SichernUndWiederherstellenBehaeltEintraegeTypenReihenfolgeUndBytes) {
    // Types in an order that no sorting gives: the owner's order is part of the item.
    ablage.inhalt = {{{"text/plain", "hallo"}, {"application/octet-stream", std::string("\0\xff\x01", 3)},
                      {"text/html", "<b>hallo</b>"}},
                     {{"UTF8_STRING", "zwei"}}};
    const GesicherteAblage erwartet = ablage.inhalt;
    AblageLesung gesichert = sichereJetzt(desktop);
    ASSERT_TRUE(gesichert.gelesen());
    ASSERT_TRUE(legeAuf(ablage, bild("x.png", "PNG"), false));
    stelleHer(ablage, gesichert.eintraege);
    EXPECT_EQ(ablage.inhalt, erwartet);
    EXPECT_EQ(ablage.inhalt[0][1].first, "application/octet-stream");
}

TEST_F(AblageTest, EinFehlgeschlagenesLesenIstKeinLeeresErgebnis) {
    ablage.inhalt = vorher;
    ablage.lesefehler = "antwortet nicht";
    AblageLesung l = sichereJetzt(desktop);
    EXPECT_FALSE(l.gelesen());
    EXPECT_EQ(l.fehler, "antwortet nicht");
    EXPECT_TRUE(l.eintraege.empty());
    // A dropped token: the result never comes.
    bool gekommen = false;
    { Marke m = sichere(ablage, [&](AblageLesung) { gekommen = true; }); }
    desktop.uhr.vorwaerts(1);
    EXPECT_FALSE(gekommen);
}

TEST_F(AblageTest, LeereAblageBleibtNachDemWiederherstellenLeer) {
    AblageLesung l = sichereJetzt(desktop);
    ASSERT_TRUE(l.gelesen());
    GesicherteAblage gesichert = l.eintraege;
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
