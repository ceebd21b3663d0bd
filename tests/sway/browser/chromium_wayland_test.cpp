// Klebwerk in a sway session against Chromium as a native Wayland client: the chat page
// in its tab is recognised as a browser chat when its window comes to the front or when
// the user chooses it with ⌃⌥S and a click (keys and clicks through a keyboard and a
// pointer of the test's own on the seat), and a capture is pasted into the page's text
// area. The test page writes what reached it
// into its title (tests/fixtures/browsertest.html), which sway's window title shows.

#include <gtest/gtest.h>

#include <filesystem>

#include <xkbcommon/xkbcommon-keysyms.h>

#include <QJsonDocument>
#include <QJsonObject>

#include "desktop/aufnahme_ablegen.h"
#include "desktop/browser_hilfe.h"
#include "desktop/klebwerk_lauf.h"
#include "platform/atspi/atspi_status.h"
#include "platform/wayland/sway_fenster.h"
#include "platform/wayland/virtuelle_tastatur.h"
#include "platform/wayland/virtueller_zeiger.h"
#include "support/protokoll_hilfe.h"

namespace klebwerk::wayland {
namespace {

namespace fs = std::filesystem;
using test::Browserart;
using test::Kindprozess;
using test::warteBis;

constexpr const char* erkannt = "Browser-KI erkannt: ";

class ChromiumInSway : public ::testing::Test {
protected:
    void SetUp() override {
        auto ipc = SwayIpc::ausUmgebung();
        if (!ipc || !std::getenv("WAYLAND_DISPLAY")) GTEST_SKIP() << "no sway session";
        if (!atspi::zugaenglichkeitAn().has_value()) GTEST_SKIP() << "no accessibility bus";
        if (!test::programmDa("chromium")) GTEST_SKIP() << "chromium is not installed";
        sway.emplace(*ipc);
        // As on a user's desktop with a screen reader: accessibility is on before the
        // browser starts.
        ASSERT_TRUE(atspi::schalteZugaenglichkeitEin());
    }

    // The first visible window of the process `pid`.
    std::optional<SwayFenster> fensterVon(int pid) {
        for (const SwayFenster& f : sway->lies().fenster)
            if (f.pid == pid && f.sichtbar) return f;
        return std::nullopt;
    }
    // The page title, as the browser's window shows it; absent while it shows another.
    std::optional<std::string> seitenTitel() {
        auto f = fensterVon(browser->pid());
        const std::string zusatz = test::titelZusatz(Browserart::chromium);
        if (!f || f->titel.size() <= zusatz.size() || !f->titel.ends_with(zusatz)) return std::nullopt;
        return f->titel.substr(0, f->titel.size() - zusatz.size());
    }
    void aktiviere(int pid) {
        std::optional<SwayFenster> f;
        ASSERT_TRUE(warteBis([&] { return (f = fensterVon(pid)).has_value(); }));
        std::string fehler;
        ASSERT_TRUE(sway->aktiviere(f->conId, fehler)) << fehler;
        ASSERT_TRUE(warteBis([&] {
            auto fokus = sway->fokussiertes(fehler);
            return fokus && fokus->pid == pid;
        }));
    }
    QJsonObject status() const {
        return QJsonDocument::fromJson(QByteArray::fromStdString(test::liesDatei(lauf.daten("status.json")))).object();
    }
    std::string zielName() const { return status().value("ziel").toObject().value("name").toString().toStdString(); }

    // Chromium showing the chat page, titled `name`.
    void starteBrowser(const std::string& name) {
        const std::string seite = seiten.path().toStdString() + "/browsertest.html";
        fs::copy_file(KLEBWERK_TESTSEITEN "/browsertest.html", seite);
        browser = std::make_unique<test::Browser>(
            Browserart::chromium, test::BrowserStart{.adresse = "file://" + seite + "#" + name, .wayland = true});
        ASSERT_TRUE(warteBis([&] { return seitenTitel() == name; }, 40))
            << "the browser shows no window with the page (it runs as a Wayland client of the session's sway)";
    }
    // The user's own window in front, then Klebwerk started, watching ~/Desktop.
    void starteKlebwerk(const std::string& einstellungen) {
        nutzer = std::make_unique<Kindprozess>(
            std::vector<std::string>{KLEBWERK_DEMO_CHAT, "--titel", "Nutzerfenster"},
            std::vector<std::string>{"QT_QPA_PLATFORM=wayland", "HOME=" + lauf.heim()});
        ASSERT_NO_FATAL_FAILURE(aktiviere(nutzer->pid()));
        lauf.schreibeEinstellungen(einstellungen);
        fs::create_directories(lauf.heim() + "/Desktop");
        ASSERT_TRUE(lauf.starte());
        ASSERT_TRUE(warteBis([&] { return lauf.protokollEnthaelt(" Start, Freigabe: true\n"); })) << lauf.protokoll();
        ASSERT_TRUE(lauf.protokollEnthaelt("Desktop: sway")) << lauf.protokoll();
        ASSERT_TRUE(warteBis([&] { return !(ordner = status().value("ordner").toString().toStdString()).empty(); }));
        EXPECT_FALSE(status().contains("ziel")) << "connected before it came to the front or was chosen";
    }
    std::vector<std::string> warteAufEreignisse(size_t anzahl) {
        std::vector<std::string> e;
        warteBis([&] { return (e = test::seitenEreignisse(seitenTitel().value_or(""))).size() >= anzahl; }, 20);
        return e;
    }
    static void erwarteBildImTextbereich(const std::string& ereignis) {
        EXPECT_EQ(ereignis.rfind("P frage ", 0), 0u) << ereignis << ": not pasted into the text area";
        EXPECT_NE(ereignis.find("file:image/png"), std::string::npos) << ereignis;
    }
    bool nutzerVorn() {
        std::string fehler;
        auto fokus = sway->fokussiertes(fehler);
        return fokus && fokus->pid == nutzer->pid();
    }

    std::optional<SwayFensterdienst> sway;
    QTemporaryDir seiten;
    std::unique_ptr<test::Browser> browser;
    std::unique_ptr<Kindprozess> nutzer;
    test::KlebwerkLauf lauf;
    std::string ordner;
};

TEST_F(ChromiumInSway, ChatSeiteKommtNachVornWirdTestchatUndDieAufnahmeLandetImTextbereich) {
    ASSERT_NO_FATAL_FAILURE(starteBrowser("Chat-1"));
    ASSERT_NO_FATAL_FAILURE(starteKlebwerk(R"({"testBefehle": true, "feldSichtbar": false})"));

    ASSERT_NO_FATAL_FAILURE(aktiviere(browser->pid()));
    ASSERT_TRUE(warteBis([&] { return lauf.protokollEnthaelt(std::string(erkannt) + "Testchat"); }, 20)) << lauf.protokoll();
    ASSERT_TRUE(warteBis([&] { return zielName().rfind("Testchat \u00b7 ", 0) == 0; })) << zielName();
    EXPECT_EQ(status().value("ziel").toObject().value("pid").toInt(), browser->pid());

    // The user works in their own window again when the capture comes.
    ASSERT_NO_FATAL_FAILURE(aktiviere(nutzer->pid()));
    ASSERT_TRUE(test::legeAufnahmeAb(ordner, "Bildschirmfoto 2026-12-11 um 13.00.00.png", Qt::darkGreen));
    const auto e = warteAufEreignisse(1);
    ASSERT_EQ(e.size(), 1u) << lauf.protokoll();
    erwarteBildImTextbereich(e[0]);
    EXPECT_TRUE(warteBis([&] { return lauf.protokollEnthaelt(" Eingefügt in "); })) << lauf.protokoll();
    EXPECT_EQ(test::seitenEreignisse(seitenTitel().value_or("")).size(), 1u) << "pasted once and not sent";
    EXPECT_EQ(nutzer->ausgabe().find("eingefuegt"), std::string::npos) << "pasted into the user's window";
    EXPECT_EQ(lauf.beende(), 0);
}

TEST_F(ChromiumInSway, MitKuerzelUndKlickGewaehltLandetDieAufnahmeImTextbereichUndReturnFolgt) {
    VirtuelleTastatur tastatur;
    ASSERT_EQ(tastatur.stoerung(), "");
    VirtuellerZeiger zeiger;
    ASSERT_EQ(zeiger.stoerung(), "");
    ASSERT_NO_FATAL_FAILURE(starteBrowser("Chat-2"));
    ASSERT_NO_FATAL_FAILURE(starteKlebwerk(R"({"testBefehle": true, "feldSichtbar": false, "absenden": true})"));

    // ⌃⌥S with the user's window in front, then a click into the browser's page.
    std::string fehler;
    ASSERT_TRUE(tastatur.druecke(XKB_KEY_s, VirtuelleTastatur::control | VirtuelleTastatur::alt, fehler)) << fehler;
    ASSERT_TRUE(warteBis([&] { return status().value("modus").toString() == "wahl"; })) << lauf.protokoll();
    ASSERT_TRUE(warteBis([&] { return lauf.protokollEnthaelt("event tap: overlay over the windows, with the keyboard"); }))
        << lauf.protokoll();
    auto fenster = fensterVon(browser->pid());
    ASSERT_TRUE(fenster);
    const Punkt seite{fenster->rahmen.x + fenster->rahmen.breite / 2, fenster->rahmen.y + fenster->rahmen.hoehe / 2};
    ASSERT_TRUE(zeiger.bewege(seite, fehler)) << fehler;
    ASSERT_TRUE(zeiger.taste(true, true, fehler)) << fehler;
    ASSERT_TRUE(zeiger.taste(true, false, fehler)) << fehler;
    ASSERT_TRUE(warteBis([&] { return lauf.protokollEnthaelt(" Aktives Ziel: "); })) << lauf.protokoll();
    ASSERT_TRUE(warteBis([&] { return zielName().rfind("Testchat \u00b7 ", 0) == 0; })) << zielName();
    EXPECT_EQ(status().value("ziel").toObject().value("pid").toInt(), browser->pid());
    EXPECT_TRUE(test::seitenEreignisse(seitenTitel().value_or("")).empty()) << "the choosing click reached the page";

    ASSERT_TRUE(test::legeAufnahmeAb(ordner, "Bildschirmfoto 2026-12-11 um 13.00.01.png", Qt::darkGreen));
    const auto e = warteAufEreignisse(2);
    ASSERT_EQ(e.size(), 2u) << lauf.protokoll();
    erwarteBildImTextbereich(e[0]);
    EXPECT_EQ(e[1], "E");
    EXPECT_TRUE(warteBis([&] { return nutzerVorn(); })) << "the user was not returned";
    EXPECT_EQ(nutzer->ausgabe().find("eingefuegt"), std::string::npos) << "pasted into the user's window";
    EXPECT_EQ(lauf.beende(), 0);
}

}  // namespace
}  // namespace klebwerk::wayland
