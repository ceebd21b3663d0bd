// A capture written into the watched folder ends up in a real window: the demo chat,
// which reports every paste with its formats and image size.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>

#include "desktop/aufnahme_ablegen.h"
#include "desktop/klebwerk_lauf.h"
#include "support/protokoll_hilfe.h"

namespace klebwerk {
namespace {

using test::ausgabeVon;
using test::Kindprozess;
using test::KlebwerkLauf;
using test::liesDatei;
using test::warteBis;

std::string aktivesFenster() { return ausgabeVon({"xdotool", "getactivewindow", "getwindowname"}); }

class ZustellungEcht : public ::testing::Test {
protected:
    KlebwerkLauf lauf;
    std::unique_ptr<Kindprozess> chat, anderes, ablage;
    std::string ordner;
    const std::string meineAblage = "<b>Meins</b> – äöü\t\"zitiert\"";

    void SetUp() override {
        lauf.schreibeEinstellungen(R"({"testBefehle": true})");
        const std::vector<std::string> umgebung = {"QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1", "HOME=" + lauf.heim()};
        chat = std::make_unique<Kindprozess>(std::vector<std::string>{KLEBWERK_DEMO_CHAT}, umgebung);
        anderes = std::make_unique<Kindprozess>(std::vector<std::string>{KLEBWERK_DEMO_CHAT, "--titel", "Anderes"}, umgebung);
        ASSERT_TRUE(warteBis([] { return !ausgabeVon({"xdotool", "search", "--onlyvisible", "--name", "^Demo-Chat$"}).empty(); }));
        ASSERT_TRUE(warteBis([] { return !ausgabeVon({"xdotool", "search", "--onlyvisible", "--name", "^Anderes$"}).empty(); }));
        // The user's clipboard: one type that Klebwerk must keep byte for byte.
        // xclip stays in the foreground until another client takes the selection.
        ablage = std::make_unique<Kindprozess>(std::vector<std::string>{
            "sh", "-c", "printf '%s' \"$1\" | exec xclip -quiet -selection clipboard -t text/html -i", "sh", meineAblage});
        ASSERT_TRUE(warteBis([&] { return liesAblage("text/html") == meineAblage; }));

        std::filesystem::create_directories(lauf.heim() + "/Desktop");
        ASSERT_TRUE(lauf.starte());
        ASSERT_TRUE(warteBis([&] { return lauf.protokollEnthaelt(" Start, Freigabe: true\n"); })) << lauf.protokoll();
        ASSERT_TRUE(warteBis([&] {
            ordner = status().value("ordner").toString().toStdString();
            return !ordner.empty();
        }));
        ASSERT_EQ(test::sendeBefehl("ziel|klebwerk-demo-chat|Demo-Chat"), 0);
        ASSERT_TRUE(warteBis([&] { return lauf.protokollEnthaelt(" Aktives Ziel: "); })) << lauf.protokoll();
        aktiviere("Anderes");
    }

    static std::string liesAblage(const std::string& typ) {
        return ausgabeVon({"xclip", "-selection", "clipboard", "-o", "-t", typ});
    }
    QJsonObject status() {
        return QJsonDocument::fromJson(QByteArray::fromStdString(liesDatei(lauf.daten("status.json")))).object();
    }
    static void aktiviere(const std::string& titel) {
        std::string id = ausgabeVon({"xdotool", "search", "--onlyvisible", "--name", "^" + titel + "$"});
        ausgabeVon({"xdotool", "windowactivate", "--sync", id.substr(0, id.find('\n'))});
        ASSERT_TRUE(warteBis([&] { return aktivesFenster() == titel; }));
    }
    void legeAufnahmeAb(const std::string& name) { ASSERT_TRUE(test::legeAufnahmeAb(ordner, name, Qt::red)); }
};

TEST_F(ZustellungEcht, AufnahmeLandetImChatUndAllesIstWieVorher) {
    legeAufnahmeAb("Bildschirmfoto 2026-12-10 um 11.00.00.png");
    ASSERT_TRUE(warteBis([&] { return chat->ausgabe().find("eingefuegt bild") != std::string::npos; }))
        << lauf.protokoll();
    ASSERT_TRUE(warteBis([&] { return lauf.protokollEnthaelt(" Eingefügt in "); }));
    const std::string gemeldet = chat->ausgabe();
    EXPECT_NE(gemeldet.find("eingefuegt bild 64x48 "), std::string::npos) << gemeldet;
    EXPECT_NE(gemeldet.find("image/png"), std::string::npos);
    EXPECT_TRUE(lauf.protokollEnthaelt("Bildschirmfoto 2026-12-10 um 11.00.00.png (vorn: true)\n")) << lauf.protokoll();
    EXPECT_TRUE(warteBis([] { return aktivesFenster() == "Anderes"; })) << "the previous window is back in front";
    EXPECT_TRUE(warteBis([&] { return liesAblage("text/html") == meineAblage; })) << "the clipboard as it was";
    EXPECT_EQ(anderes->ausgabe(), "") << "nothing reached the other window";
    EXPECT_EQ(test::vorkommen(chat->ausgabe(), "eingefuegt"), 1) << "pasted exactly once";
    EXPECT_EQ(chat->ausgabe().find("gesendet"), std::string::npos);
    EXPECT_EQ(lauf.beende(), 0);
}

TEST_F(ZustellungEcht, MitAbsendenFolgtReturn) {
    ASSERT_EQ(test::sendeBefehl("absenden|1"), 0);
    ASSERT_TRUE(warteBis([&] { return lauf.protokollEnthaelt("\"absenden\", \"1\""); }));
    legeAufnahmeAb("Bildschirmfoto 2026-12-10 um 11.00.01.png");
    ASSERT_TRUE(warteBis([&] { return chat->ausgabe().find("gesendet") != std::string::npos; })) << lauf.protokoll();
    const std::string gemeldet = chat->ausgabe();
    EXPECT_LT(gemeldet.find("eingefuegt bild"), gemeldet.find("gesendet"));
    EXPECT_EQ(test::vorkommen(gemeldet, "eingefuegt"), 1);
    EXPECT_EQ(lauf.beende(), 0);
}

}  // namespace
}  // namespace klebwerk
