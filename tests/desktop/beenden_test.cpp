// The end of the real build/klebwerk, by SIGTERM and by a normal quit: the preview
// setting is the user's again, and the user's clipboard outlives Klebwerk through the
// clipboard manager.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>

#include "desktop/ablage_helfer.h"
#include "desktop/aufnahme_ablegen.h"
#include "desktop/klebwerk_lauf.h"
#include "desktop/x11_hilfe.h"

namespace klebwerk {
namespace {

using test::ausgabeVon;
using test::Kindprozess;
using test::KlebwerkLauf;
using test::liesDatei;
using test::warteBis;

enum class Ende { sigterm, beendenBefehl };

class BeendenEcht : public ::testing::TestWithParam<Ende> {
protected:
    KlebwerkLauf lauf;
    std::unique_ptr<Kindprozess> chat, nutzer, verwalter;
    const AblageEintrag meins{{"UTF8_STRING", "Meins – äöü"}, {"text/html", "<b>Meins</b>"}};

    void SetUp() override {
        if (!test::hatAnzeige()) GTEST_SKIP() << "no display";
        lauf.schreibeEinstellungen(R"({"testBefehle": true})");
        std::ofstream(praeferenzDatei()) << R"({"com.apple.screencapture": {"show-thumbnail": true}})";
        chat = std::make_unique<Kindprozess>(std::vector<std::string>{KLEBWERK_DEMO_CHAT},
                                             std::vector<std::string>{"QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1",
                                                                      "HOME=" + lauf.heim()});
        ASSERT_TRUE(warteBis([] { return !ausgabeVon({"xdotool", "search", "--onlyvisible", "--name", "^Demo-Chat$"}).empty(); }));
        nutzer = test::starteAblageHelfer({"besitze", meins[0].first, meins[0].second, meins[1].first, meins[1].second});
        ASSERT_TRUE(nutzer);
        verwalter = test::starteAblageHelfer({"verwalter"});
        ASSERT_TRUE(verwalter);

        std::filesystem::create_directories(lauf.heim() + "/Desktop");
        ASSERT_TRUE(lauf.starte());
        ASSERT_TRUE(warteBis([&] { return lauf.protokollEnthaelt(" Start, Freigabe: true\n"); })) << lauf.protokoll();
        ASSERT_EQ(test::sendeBefehl("ziel|klebwerk-demo-chat|Demo-Chat"), 0);
        ASSERT_TRUE(warteBis([&] { return lauf.protokollEnthaelt(" Aktives Ziel: "); })) << lauf.protokoll();
        // Active: the preview is held off.
        ASSERT_TRUE(warteBis([&] { return vorschau() == QJsonValue(false); })) << liesDatei(praeferenzDatei());
    }

    std::string praeferenzDatei() {
        std::string ordner = lauf.heim() + "/.config/de.quenmoral.klebwerk";
        std::filesystem::create_directories(ordner);
        return ordner + "/praeferenzen.json";
    }
    QJsonValue vorschau() {
        auto doc = QJsonDocument::fromJson(QByteArray::fromStdString(liesDatei(praeferenzDatei())));
        return doc.object().value("com.apple.screencapture").toObject().value("show-thumbnail");
    }
    void legeAufnahmeAb(const std::string& name) {
        auto status = QJsonDocument::fromJson(QByteArray::fromStdString(liesDatei(lauf.daten("status.json")))).object();
        const std::string ordner = status.value("ordner").toString().toStdString();
        ASSERT_FALSE(ordner.empty());
        ASSERT_TRUE(test::legeAufnahmeAb(ordner, name, Qt::blue));
    }
};

TEST_P(BeendenEcht, VorschauUndZwischenablageDesNutzersUeberlebenDasEnde) {
    legeAufnahmeAb("Bildschirmfoto 2026-12-10 um 12.00.00.png");
    ASSERT_TRUE(warteBis([&] { return lauf.protokollEnthaelt(" Eingefügt in "); })) << lauf.protokoll();
    ASSERT_TRUE(chat->ausgabe().find("eingefuegt bild") != std::string::npos) << chat->ausgabe();

    if (GetParam() == Ende::sigterm) {
        EXPECT_EQ(lauf.beende(), 0);
    } else {
        ASSERT_EQ(test::sendeBefehl("beenden"), 0);
        EXPECT_EQ(lauf.warteAufEnde(10.0), 0);
    }
    const std::string protokoll = lauf.protokoll();
    EXPECT_NE(protokoll.find(" Vorschau wieder wie vorher (an)\n"), std::string::npos) << protokoll;
    EXPECT_EQ(vorschau(), QJsonValue(true)) << liesDatei(praeferenzDatei());
    EXPECT_EQ(liesDatei(lauf.einstellungsDatei()).find("vorschauVorher"), std::string::npos);
    EXPECT_NE(protokoll.find(" Zwischenablage an die Ablageverwaltung übergeben\n"), std::string::npos) << protokoll;
    EXPECT_NE(verwalter->ausgabe().find("gesichert 2"), std::string::npos) << verwalter->ausgabe();
    // Klebwerk is gone; the clipboard still holds what the user had.
    EXPECT_EQ(test::xclipLies("UTF8_STRING"), meins[0].second);
    EXPECT_EQ(test::fremdGelesen(), meins);
}

INSTANTIATE_TEST_SUITE_P(SigtermUndBefehl, BeendenEcht, ::testing::Values(Ende::sigterm, Ende::beendenBefehl),
                         [](const auto& info) { return info.param == Ende::sigterm ? "Sigterm" : "Beenden"; });

}  // namespace
}  // namespace klebwerk
