// Klebwerk's own program in a sway session: a capture written into the watched folder
// ends up in a native Wayland chat window, and everything the user had is as before.

#include <gtest/gtest.h>

#include <filesystem>

#include <QJsonDocument>
#include <QJsonObject>

#include "desktop/aufnahme_ablegen.h"
#include "desktop/klebwerk_lauf.h"
#include "platform/wayland/sway_fenster.h"
#include "support/protokoll_hilfe.h"

namespace klebwerk::wayland {
namespace {

using test::Kindprozess;
using test::KlebwerkLauf;
using test::liesDatei;
using test::warteBis;

class KlebwerkInSway : public ::testing::Test {
protected:
    KlebwerkLauf lauf;
    std::optional<SwayFensterdienst> sway;
    std::unique_ptr<Kindprozess> chat, anderes, ablage;
    std::string ordner;
    // The user's clipboard: one type that must come back byte for byte.
    const std::string meineAblage = "<b>Meins</b> – äöü\t\"zitiert\"";

    void SetUp() override {
        auto ipc = SwayIpc::ausUmgebung();
        if (!ipc) GTEST_SKIP() << "no sway session (SWAYSOCK is not set)";
        sway.emplace(*ipc);
        lauf.schreibeEinstellungen(R"({"testBefehle": true})");
        const std::vector<std::string> umgebung = {"QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1", "QT_QPA_PLATFORM=wayland",
                                                   "HOME=" + lauf.heim()};
        chat = std::make_unique<Kindprozess>(std::vector<std::string>{KLEBWERK_DEMO_CHAT}, umgebung);
        anderes = std::make_unique<Kindprozess>(std::vector<std::string>{KLEBWERK_DEMO_CHAT, "--titel", "Anderes"}, umgebung);
        ASSERT_TRUE(fenster("Demo-Chat"));
        ASSERT_TRUE(fenster("Anderes"));
        // wl-copy stays in the foreground until another client takes the clipboard.
        ablage = std::make_unique<Kindprozess>(std::vector<std::string>{
            "sh", "-c", "printf '%s' \"$1\" | exec wl-copy --foreground --type text/html", "sh", meineAblage});
        ASSERT_TRUE(warteBis([&] { return liesAblage("text/html") == meineAblage; }));

        std::filesystem::create_directories(lauf.heim() + "/Desktop");
        ASSERT_TRUE(lauf.starte());
        ASSERT_TRUE(warteBis([&] { return lauf.protokollEnthaelt(" Start, Freigabe: true\n"); })) << lauf.protokoll();
        ASSERT_TRUE(lauf.protokollEnthaelt("Desktop: sway")) << lauf.protokoll();
        ASSERT_TRUE(warteBis([&] {
            ordner = status().value("ordner").toString().toStdString();
            return !ordner.empty();
        }));
        ASSERT_EQ(test::sendeBefehl("ziel|klebwerk-demo-chat|Demo-Chat"), 0);
        ASSERT_TRUE(warteBis([&] { return lauf.protokollEnthaelt(" Aktives Ziel: "); })) << lauf.protokoll();
        aktiviere("Anderes");
    }

    // The window with that title, once sway shows it.
    std::optional<SwayFenster> fenster(const std::string& titel) {
        std::optional<SwayFenster> gefunden;
        warteBis([&] {
            for (const SwayFenster& f : sway->lies().fenster)
                if (f.titel == titel && f.sichtbar) gefunden = f;
            return gefunden.has_value();
        });
        return gefunden;
    }
    std::string fokussiertesFenster() {
        std::string fehler;
        auto f = sway->fokussiertes(fehler);
        return f ? f->titel : std::string();
    }
    void aktiviere(const std::string& titel) {
        auto f = fenster(titel);
        ASSERT_TRUE(f);
        std::string fehler;
        ASSERT_TRUE(sway->aktiviere(f->conId, fehler)) << fehler;
        ASSERT_TRUE(warteBis([&] { return fokussiertesFenster() == titel; }));
    }
    static std::string liesAblage(const std::string& typ) {
        return test::ausgabeVon({"wl-paste", "--no-newline", "--type", typ});
    }
    QJsonObject status() {
        return QJsonDocument::fromJson(QByteArray::fromStdString(liesDatei(lauf.daten("status.json")))).object();
    }
};

TEST_F(KlebwerkInSway, AufnahmeLandetEinmalImChatUndAblageUndFokusSindWieVorher) {
    ASSERT_TRUE(test::legeAufnahmeAb(ordner, "Bildschirmfoto 2026-12-10 um 11.00.00.png", Qt::red));
    ASSERT_TRUE(warteBis([&] { return chat->ausgabe().find("eingefuegt bild") != std::string::npos; }))
        << lauf.protokoll();
    ASSERT_TRUE(warteBis([&] { return lauf.protokollEnthaelt(" Eingefügt in "); })) << lauf.protokoll();
    const std::string gemeldet = chat->ausgabe();
    EXPECT_NE(gemeldet.find("eingefuegt bild 64x48 "), std::string::npos) << gemeldet;
    EXPECT_NE(gemeldet.find("image/png"), std::string::npos) << gemeldet;
    EXPECT_TRUE(warteBis([&] { return fokussiertesFenster() == "Anderes"; }))
        << "the user's window has the focus again, not " << fokussiertesFenster() << "\n" << lauf.protokoll();
    EXPECT_TRUE(warteBis([&] { return liesAblage("text/html") == meineAblage; })) << "the clipboard as it was";
    EXPECT_EQ(anderes->ausgabe(), "") << "nothing reached the user's window";
    EXPECT_EQ(test::vorkommen(chat->ausgabe(), "eingefuegt"), 1) << "pasted exactly once";
    EXPECT_EQ(chat->ausgabe().find("gesendet"), std::string::npos);
    EXPECT_EQ(lauf.beende(), 0);
}

}  // namespace
}  // namespace klebwerk::wayland
