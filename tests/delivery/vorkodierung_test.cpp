// The capture's PNG made ahead on the background lane: whichever way the early work
// went, the pasteboard receives exactly the captured pixels, and only once they exist.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <QImage>
#include <QTemporaryDir>

#include "delivery/ablage.h"
#include "support/sim_steuerung.h"
#include "support/sim_szenario.h"

namespace klebwerk {
namespace {

constexpr int chatPid = 100;
constexpr int editorPid = 200;

QImage muster(int breite, int hoehe, int saat) {
    QImage b(breite, hoehe, QImage::Format_RGB32);
    for (int y = 0; y < hoehe; ++y)
        for (int x = 0; x < breite; ++x) b.setPixel(x, y, qRgb((x * saat + y) % 256, (y * 3 + saat) % 256, (x ^ y) % 256));
    return b;
}

enum class Weg {
    fertig,          // done before the delivery asks
    laneBesetzt,     // still waiting behind other work on the lane
    nieBegonnen,     // no early work at all
    dateiNeu,        // the file was written anew after the early work
    fehlgeschlagen,  // the file was not an image yet when the early work read it
    bleibtKaputt,    // the file never is an image
};

class VorkodiertBasis : public ::testing::Test {
protected:
    test::SimUmgebung u;
    QTemporaryDir aufnahmen;
    const GesicherteAblage nutzerAblage{{{"text/plain", "meins"}}};
    const QImage erstes = muster(203, 117, 5);
    const QImage zweites = muster(150, 160, 11);

    void SetUp() override {
        test::starteApp(u.desktop, chatPid, "Chat", "com.example.chat");
        auto& chat = test::baueFenster(u.desktop, chatPid, test::chatFenster());
        test::starteApp(u.desktop, editorPid, "Editor", "org.example.editor");
        u.desktop.oeffneFenster(editorPid, "notizen.txt", {600, 100, 500, 400});
        u.desktop.arbeitsplatz.vorne = editorPid;
        u.desktop.ablage.inhalt = nutzerAblage;
        u.starte();
        u.steuerung->setzeZiel(std::make_shared<Ziel>(u.steuerung->ax, u.desktop.arbeitsplatz, chat.element(), chatPid));
        u.desktop.uhr.vorwaerts(5);
    }
    std::string pfad() const { return aufnahmen.filePath("Bildschirmfoto 2026-12-10 um 10.00.00.png").toStdString(); }
    void schreibe(const QImage& b) { ASSERT_TRUE(b.save(QString::fromStdString(pfad()), "PNG")); }
    void schreibeMuell() { std::ofstream(pfad(), std::ios::binary) << "kein Bild"; }
    // What the watcher does once the file is complete.
    void dateiFertig() {
        u.steuerung->waechter.vollstaendig(pfad());
        u.desktop.uhr.laufeFaelliges();
    }
};

class Vorkodiert : public VorkodiertBasis, public ::testing::WithParamInterface<Weg> {};

TEST_P(Vorkodiert, DieAblageBekommtGenauDieAufgenommenenPixelUndWirdVorherNichtGeleert) {
    Marke lane;
    std::optional<QImage> soll = erstes;
    switch (GetParam()) {
        case Weg::fertig:
            schreibe(erstes);
            dateiFertig();
            break;
        case Weg::laneBesetzt:
            schreibe(erstes);
            lane = u.desktop.uhr.hintergrund([] { return Fortsetzung::danach(5.0, [] { return Fortsetzung::fertig(); }); });
            dateiFertig();
            break;
        case Weg::nieBegonnen:
            schreibe(erstes);
            break;
        case Weg::dateiNeu:
            schreibe(erstes);
            dateiFertig();
            schreibe(zweites);
            soll = zweites;
            break;
        case Weg::fehlgeschlagen:
            schreibeMuell();
            dateiFertig();
            schreibe(zweites);
            soll = zweites;
            break;
        case Weg::bleibtKaputt:
            schreibeMuell();
            dateiFertig();
            soll.reset();
            break;
    }
    const auto vorher = u.desktop.ablage.aenderungen();
    const double start = u.desktop.uhr.jetzt();
    u.steuerung->neuerScreenshot(pfad());
    u.desktop.uhr.vorwaerts(0.9);

    if (!soll) {
        EXPECT_TRUE(u.desktop.eingabe.einfuegungen.empty());
        EXPECT_EQ(u.desktop.ablage.aenderungen(), vorher) << "the pasteboard was not touched";
        EXPECT_EQ(u.desktop.ablage.inhalt, nutzerAblage);
        EXPECT_NE(u.heim.protokoll().find(" Bild nicht lesbar: " + pfad()), std::string::npos);
        return;
    }
    ASSERT_EQ(u.desktop.eingabe.einfuegungen.size(), 1u);
    EXPECT_NEAR(u.desktop.eingabe.gepostet.front().zeit - start, 0.15, 1e-9) << "the paste key keeps its time";
    EXPECT_EQ(u.desktop.ablage.aenderungen(), vorher + 1) << "one write, and no clearing before it";
    const auto& inhalt = u.desktop.eingabe.einfuegungen[0].inhalt;
    ASSERT_EQ(inhalt.size(), 1u);
    ASSERT_TRUE(datenVon(inhalt[0], ablagetyp::dateiUrl));
    ASSERT_TRUE(datenVon(inhalt[0], ablagetyp::png));
    EXPECT_EQ(*datenVon(inhalt[0], ablagetyp::dateiUrl), dateiUrl(pfad()) + "\r\n");
    const QImage ist = QImage::fromData(QByteArray::fromStdString(*datenVon(inhalt[0], ablagetyp::png)), "PNG");
    ASSERT_EQ(ist.size(), soll->size());
    EXPECT_EQ(ist.convertToFormat(QImage::Format_RGB32), *soll);
}

// The delivery takes the PNG made ahead and does not read the file again: bytes
// spoiled behind the file's back (same size, same time) do not reach the pasteboard.
TEST_F(VorkodiertBasis, DieZustellungNimmtDasVorherGemachtePngOhneDieDateiNeuZuLesen) {
    schreibe(erstes);
    dateiFertig();
    const auto zeit = std::filesystem::last_write_time(pfad());
    const auto groesse = std::filesystem::file_size(pfad());
    std::ofstream(pfad(), std::ios::binary) << std::string(groesse, 'x');
    std::filesystem::last_write_time(pfad(), zeit);

    u.steuerung->neuerScreenshot(pfad());
    u.desktop.uhr.vorwaerts(0.9);
    ASSERT_EQ(u.desktop.eingabe.einfuegungen.size(), 1u);
    const auto& inhalt = u.desktop.eingabe.einfuegungen[0].inhalt;
    ASSERT_TRUE(datenVon(inhalt.at(0), ablagetyp::png));
    EXPECT_EQ(QImage::fromData(QByteArray::fromStdString(*datenVon(inhalt.at(0), ablagetyp::png)), "PNG")
                  .convertToFormat(QImage::Format_RGB32),
              erstes);
}

std::string wegName(const ::testing::TestParamInfo<Weg>& i) {
    static const char* const namen[] = {"Fertig", "LaneBesetzt", "NieBegonnen", "DateiNeu", "Fehlgeschlagen", "BleibtKaputt"};
    return namen[static_cast<int>(i.param)];
}

INSTANTIATE_TEST_SUITE_P(Wege, Vorkodiert,
                         ::testing::Values(Weg::fertig, Weg::laneBesetzt, Weg::nieBegonnen, Weg::dateiNeu,
                                           Weg::fehlgeschlagen, Weg::bleibtKaputt),
                         wegName);

}  // namespace
}  // namespace klebwerk
