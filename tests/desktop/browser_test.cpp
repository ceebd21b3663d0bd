// Klebwerk against real Chromium and Firefox ESR: a tab showing an AI chat page connects
// its window when it comes to the front or when the user chooses it with ⌃⌥S and a click,
// a capture is pasted into the page's text area (and sent with Return when "absenden" is
// on), a tab that changes to an ordinary page leaves the list and connects again when it
// comes back to the chat, a listed host is named after its service, and a browser that
// shows nothing on the accessibility bus is known by its window title. The test page
// writes what reached it into its title (tests/fixtures/browsertest.html).

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "ax/ax.h"
#include "ax/letztes_element.h"
#include "desktop/atspi_hilfe.h"
#include "desktop/aufnahme_ablegen.h"
#include "desktop/browser_hilfe.h"
#include "desktop/klebwerk_lauf.h"
#include "platform/atspi/atspi_status.h"
#include "platform/atspi/atspi_zugaenglichkeit.h"
#include "platform/x11/x11_desktopfenster.h"
#include "support/protokoll_hilfe.h"

namespace klebwerk {
namespace {

namespace fs = std::filesystem;
using test::Browserart;
using test::warteBis;

constexpr const char* erkannt = "Browser-KI erkannt: ";
constexpr const char* ausDerListe = "Browser-Tab ohne KI-Chat/Eingabefeld, aus der Liste: ";

// Klebwerk in a fresh home, the user's own window in front, and what both report.
class KlebwerkMitBrowser : public ::testing::Test, public test::AtspiSicht {
protected:
    static void SetUpTestSuite() { test::sorgeFuerAnwendung(); }

    bool sitzungDa() {
        if (!test::hatAnzeige() || !atspi::zugaenglichkeitAn().has_value()) return false;
        // As on a user's desktop with a screen reader: the session's accessibility is on
        // before the browsers start, whether or not Klebwerk ran yet.
        return atspi::schalteZugaenglichkeitEin();
    }

    // The user's window in front, then Klebwerk started, watching ~/Desktop.
    void starteKlebwerk(const std::string& einstellungen = R"({"testBefehle": true, "feldSichtbar": false})") {
        nutzer = std::make_unique<test::Probefenster>("Nutzerfenster", 980, 80, 280, 300);
        ASSERT_TRUE(warteBis([&] { return nutzer->fensterId() != 0; }));
        ASSERT_EQ(test::fuehreAus({"xdotool", "windowactivate", "--sync", std::to_string(nutzer->fensterId())}), 0);
        ASSERT_TRUE(warteBis([&] { return test::ausgabeVon({"xdotool", "getactivewindow"}) == std::to_string(nutzer->fensterId()); }));
        lauf.schreibeEinstellungen(einstellungen);
        fs::create_directories(lauf.heim() + "/Desktop");
        ASSERT_TRUE(lauf.starte());
        ASSERT_TRUE(warteBis([&] { return lauf.protokollEnthaelt(" Start, Freigabe: true\n"); })) << lauf.protokoll();
        ASSERT_TRUE(warteBis([&] { return !(ordner = status().value("ordner").toString().toStdString()).empty(); }));
    }

    // Whether the browser `pid`'s keyboard focus is in its address bar (a text field in
    // Chromium, a combo box in Firefox).
    std::function<bool()> adressleisteHatFokus(int pid) {
        AX& a = sicht();
        return [&a, pid] {
            auto fokus = a.element(a.anwendung(pid), "AXFocusedUIElement");
            auto rolle = fokus ? a.text(*fokus, "AXRole") : std::nullopt;
            return rolle == "AXTextField" || rolle == "AXComboBox";
        };
    }
    // The tests' own view of the accessibility bus, made when first needed.
    AX& sicht() {
        if (!ax) verbinde();
        return *ax;
    }

    QJsonObject status() const {
        return QJsonDocument::fromJson(QByteArray::fromStdString(test::liesDatei(lauf.daten("status.json")))).object();
    }
    std::string zielName() const { return status().value("ziel").toObject().value("name").toString().toStdString(); }
    bool warteAufProtokoll(const std::string& text, double frist = 20) {
        return warteBis([&] { return lauf.protokollEnthaelt(text); }, frist);
    }
    void legeAufnahmeAb(const std::string& name) { ASSERT_TRUE(test::legeAufnahmeAb(ordner, name, Qt::darkGreen)); }
    // Whether anything was pasted into the user's window.
    bool nutzerBekamEinfuegen() {
        for (const auto& z : nutzer->zeilen())
            if (z.rfind("einfuegen", 0) == 0) return true;
        return false;
    }

    test::KlebwerkLauf lauf;
    std::unique_ptr<test::Probefenster> nutzer;
    std::string ordner;
};

// Everything a browser's tests share, made on the first test of that browser: the
// pages, the loopback HTTPS server for the listed host, and the browser itself.
struct Umgebung {
    explicit Umgebung(Browserart art) {
        const std::string o = seiten.path().toStdString();
        const std::string vorlage = KLEBWERK_TESTSEITEN "/browsertest.html";
        fs::create_directories(o + "/www");
        fs::copy_file(vorlage, o + "/browsertest.html");
        // The same page under a name that is no chat's: an ordinary local page.
        fs::copy_file(vorlage, o + "/notizen.html");
        fs::copy_file(vorlage, o + "/www/chat.html");
        server = std::make_unique<test::HttpsServer>(host, o + "/www");
        browser = std::make_unique<test::Browser>(
            art, test::BrowserStart{.adresse = "file://" + o + "/notizen.html#" + anfang,
                                    .hosts = {host},
                                    .zertifizierungsstelle = server->zertifizierungsstelle()});
    }
    std::string datei(const std::string& name) const { return "file://" + seiten.path().toStdString() + "/" + name; }

    static constexpr const char* host = "chatgpt.com";
    // The title of the page it opens with.
    static constexpr const char* anfang = "Bereit";
    QTemporaryDir seiten;
    std::unique_ptr<test::HttpsServer> server;
    std::unique_ptr<test::Browser> browser;
    int nummer = 0;
};

class BrowserEcht : public KlebwerkMitBrowser, public ::testing::WithParamInterface<Browserart> {
protected:
    static std::map<Browserart, std::unique_ptr<Umgebung>>& umgebungen() {
        static std::map<Browserart, std::unique_ptr<Umgebung>> u;
        return u;
    }
    static void TearDownTestSuite() { umgebungen().clear(); }

    void SetUp() override {
        if (!sitzungDa()) GTEST_SKIP() << "no display or no accessibility bus";
        // The name outlives the list: a temporary's text would be gone before the loop runs.
        const std::string programm = test::programmFuer(GetParam());
        for (const char* p : {programm.c_str(), "openssl", "certutil"})
            if (!test::programmDa(p)) GTEST_SKIP() << p << " is not installed";
        auto& u = umgebungen()[GetParam()];
        if (!u) u = std::make_unique<Umgebung>(GetParam());
        ASSERT_TRUE(u->server->laeuft()) << "the HTTPS server did not start";
        ASSERT_TRUE(u->browser->warteAufFenster()) << "the browser shows no window";
        if (u->nummer == 0) {
            // Typing an address waits until the browser has shown its first page.
            ASSERT_TRUE(u->browser->warteAufSeitenTitel(Umgebung::anfang)) << u->browser->fensterTitel();
        }
        umgebung = u.get();
    }

    test::Browser& browser() { return *umgebung->browser; }

    // The tab shows `adresse` (its title `titel`) before Klebwerk starts with the user's
    // window in front. Each test's page is a new document: what the last test's page
    // recorded is gone.
    void zeigeUndStarte(const std::string& adresse, const std::string& titel,
                        const std::string& einstellungen = R"({"testBefehle": true, "feldSichtbar": false})") {
        ASSERT_TRUE(browser().oeffne(adresse, adressleisteHatFokus(browser().pid())));
        ASSERT_TRUE(browser().warteAufSeitenTitel(titel)) << "the browser's window is titled " << browser().fensterTitel();
        ASSERT_NO_FATAL_FAILURE(starteKlebwerk(einstellungen));
    }
    // A new chat page: the local test page, recognised by its file name.
    std::pair<std::string, std::string> neueChatSeite() {
        const std::string n = std::to_string(++umgebung->nummer);
        return {umgebung->datei("browsertest.html?lauf=" + n + "#Chat-" + n), "Chat-" + n};
    }
    std::vector<std::string> ereignisse() { return test::seitenEreignisse(browser().seitenTitel().value_or("")); }
    std::vector<std::string> warteAufEreignisse(size_t anzahl, double frist = 15) {
        std::vector<std::string> e;
        warteBis([&] { return (e = ereignisse()).size() >= anzahl; }, frist);
        return e;
    }
    // The front window connected by itself and named `name`.
    void erwarteErkannt(const std::string& name) {
        ASSERT_TRUE(warteAufProtokoll(erkannt + name)) << lauf.protokoll();
        ASSERT_TRUE(warteBis([&] { return zielName().rfind(name + " \u00b7 ", 0) == 0; })) << zielName();
        EXPECT_EQ(status().value("ziel").toObject().value("pid").toInt(), browser().pid());
        EXPECT_EQ(test::vorkommen(lauf.protokoll(), erkannt), 1) << lauf.protokoll();
    }
    static void erwarteBildImTextbereich(const std::string& ereignis) {
        EXPECT_EQ(ereignis.rfind("P frage ", 0), 0u) << ereignis << ": not pasted into the text area";
        EXPECT_NE(ereignis.find("file:image/png"), std::string::npos) << ereignis;
    }

    Umgebung* umgebung = nullptr;
};

TEST_P(BrowserEcht, TestseiteKommtNachVornWirdTestchatUndDieAufnahmeLandetImTextbereich) {
    const auto [adresse, titel] = neueChatSeite();
    ASSERT_NO_FATAL_FAILURE(zeigeUndStarte(adresse, titel));
    EXPECT_FALSE(status().contains("ziel")) << "connected before it came to the front";
    ASSERT_TRUE(browser().aktiviere());
    ASSERT_NO_FATAL_FAILURE(erwarteErkannt("Testchat"));

    legeAufnahmeAb("Bildschirmfoto 2026-12-11 um 10.00.00.png");
    const auto e = warteAufEreignisse(1);
    ASSERT_EQ(e.size(), 1u) << lauf.protokoll();
    erwarteBildImTextbereich(e[0]);
    ASSERT_TRUE(warteAufProtokoll(" Eingefügt in ")) << lauf.protokoll();
    EXPECT_EQ(ereignisse().size(), 1u) << "pasted once and not sent";
    EXPECT_FALSE(nutzerBekamEinfuegen());
    EXPECT_EQ(lauf.beende(), 0);
}

TEST_P(BrowserEcht, MitAbsendenErreichtReturnDieSeiteNachDemEinfuegen) {
    const auto [adresse, titel] = neueChatSeite();
    ASSERT_NO_FATAL_FAILURE(
        zeigeUndStarte(adresse, titel, R"({"testBefehle": true, "feldSichtbar": false, "absenden": true})"));
    ASSERT_TRUE(browser().aktiviere());
    ASSERT_NO_FATAL_FAILURE(erwarteErkannt("Testchat"));
    legeAufnahmeAb("Bildschirmfoto 2026-12-11 um 10.00.01.png");
    const auto e = warteAufEreignisse(2);
    ASSERT_EQ(e.size(), 2u) << lauf.protokoll();
    erwarteBildImTextbereich(e[0]);
    EXPECT_EQ(e[1], "E");
    EXPECT_EQ(lauf.beende(), 0);
}

TEST_P(BrowserEcht, MitKuerzelUndKlickGewaehltLandetDieAufnahmeImTextbereichUndReturnFolgt) {
    const auto [adresse, titel] = neueChatSeite();
    ASSERT_NO_FATAL_FAILURE(
        zeigeUndStarte(adresse, titel, R"({"testBefehle": true, "feldSichtbar": false, "absenden": true})"));
    EXPECT_FALSE(status().contains("ziel")) << "connected before it was chosen";

    // ⌃⌥S, then a click on the browser's page, behind the user's window.
    ASSERT_EQ(test::fuehreAus({"xdotool", "mousemove", "20", "20", "key", "ctrl+alt+s"}), 0);
    ASSERT_TRUE(warteBis([&] { return status().value("modus").toString() == "wahl"; })) << lauf.protokoll();
    ASSERT_EQ(test::fuehreAus({"xdotool", "mousemove", "--window", std::to_string(browser().fenster()), "450", "400",
                               "click", "1"}),
              0);
    ASSERT_TRUE(warteAufProtokoll(" Aktives Ziel: ")) << lauf.protokoll();
    ASSERT_TRUE(warteBis([&] { return zielName().rfind("Testchat \u00b7 ", 0) == 0; })) << zielName();
    EXPECT_EQ(status().value("ziel").toObject().value("pid").toInt(), browser().pid());
    EXPECT_TRUE(ereignisse().empty()) << "the choosing click reached the page";

    // The user works in their own window again when the capture comes.
    ASSERT_EQ(test::fuehreAus({"xdotool", "windowactivate", "--sync", std::to_string(nutzer->fensterId())}), 0);
    legeAufnahmeAb("Bildschirmfoto 2026-12-11 um 10.00.06.png");
    const auto e = warteAufEreignisse(2);
    ASSERT_EQ(e.size(), 2u) << lauf.protokoll();
    erwarteBildImTextbereich(e[0]);
    EXPECT_EQ(e[1], "E");
    EXPECT_TRUE(warteBis([&] { return test::ausgabeVon({"xdotool", "getactivewindow"}) == std::to_string(nutzer->fensterId()); }))
        << "the user was not returned";
    EXPECT_FALSE(nutzerBekamEinfuegen());
    EXPECT_EQ(lauf.beende(), 0);
}

TEST_P(BrowserEcht, GewoehnlicheSeiteImTabNimmtDasFensterAusDerListeUndDieAufnahmeGehtNirgendwohin) {
    const auto [adresse, titel] = neueChatSeite();
    ASSERT_NO_FATAL_FAILURE(zeigeUndStarte(adresse, titel));
    ASSERT_TRUE(browser().aktiviere());
    ASSERT_NO_FATAL_FAILURE(erwarteErkannt("Testchat"));

    const std::string name = "Notizen-" + std::to_string(umgebung->nummer);
    ASSERT_TRUE(browser().oeffne(umgebung->datei("notizen.html#" + name), adressleisteHatFokus(browser().pid())));
    ASSERT_TRUE(browser().warteAufSeitenTitel(name));
    ASSERT_TRUE(warteAufProtokoll(ausDerListe)) << lauf.protokoll();
    ASSERT_TRUE(warteBis([&] { return !status().contains("ziel") && status().value("verbunden").toArray().isEmpty(); }))
        << test::liesDatei(lauf.daten("status.json"));

    const std::string aufnahme = "Bildschirmfoto 2026-12-11 um 10.00.02.png";
    legeAufnahmeAb(aufnahme);
    ASSERT_TRUE(warteAufProtokoll("Screenshot: " + aufnahme)) << lauf.protokoll();
    EXPECT_FALSE(warteBis([&] { return !ereignisse().empty(); }, 2.0)) << "pasted into the ordinary page";
    EXPECT_FALSE(lauf.protokollEnthaelt(" Eingefügt in ")) << lauf.protokoll();
    EXPECT_FALSE(nutzerBekamEinfuegen());
    EXPECT_EQ(test::vorkommen(lauf.protokoll(), erkannt), 1) << "connected again: " << lauf.protokoll();
    EXPECT_EQ(lauf.beende(), 0);
}

TEST_P(BrowserEcht, TabZurueckAufDemChatVerbindetDasFensterWiederUndDieAufnahmeLandetDort) {
    const auto [adresse, titel] = neueChatSeite();
    ASSERT_NO_FATAL_FAILURE(zeigeUndStarte(adresse, titel));
    ASSERT_TRUE(browser().aktiviere());
    ASSERT_NO_FATAL_FAILURE(erwarteErkannt("Testchat"));
    const std::string notizen = "Notizen-" + std::to_string(umgebung->nummer);
    ASSERT_TRUE(browser().oeffne(umgebung->datei("notizen.html#" + notizen), adressleisteHatFokus(browser().pid())));
    ASSERT_TRUE(browser().warteAufSeitenTitel(notizen));
    ASSERT_TRUE(warteAufProtokoll(ausDerListe)) << lauf.protokoll();

    const auto [zurueck, zurueckTitel] = neueChatSeite();
    ASSERT_TRUE(browser().oeffne(zurueck, adressleisteHatFokus(browser().pid())));
    ASSERT_TRUE(browser().warteAufSeitenTitel(zurueckTitel));
    ASSERT_TRUE(warteBis([&] { return test::vorkommen(lauf.protokoll(), erkannt) == 2; })) << lauf.protokoll();
    ASSERT_TRUE(warteBis([&] { return zielName().rfind("Testchat \u00b7 ", 0) == 0; })) << zielName();
    legeAufnahmeAb("Bildschirmfoto 2026-12-11 um 10.00.05.png");
    const auto e = warteAufEreignisse(1);
    ASSERT_EQ(e.size(), 1u) << lauf.protokoll();
    erwarteBildImTextbereich(e[0]);
    EXPECT_EQ(lauf.beende(), 0);
}

TEST_P(BrowserEcht, GelisteterHostUeberHttpsTraegtDenNamenSeinesDienstes) {
    // The page's own title names no service: the host alone makes it ChatGPT's.
    const std::string titel = "Unterhaltung-" + std::to_string(++umgebung->nummer);
    ASSERT_NO_FATAL_FAILURE(zeigeUndStarte(umgebung->server->adresse("chat.html#" + titel), titel));
    ASSERT_TRUE(browser().aktiviere());
    ASSERT_NO_FATAL_FAILURE(erwarteErkannt("ChatGPT"));
    legeAufnahmeAb("Bildschirmfoto 2026-12-11 um 10.00.03.png");
    const auto e = warteAufEreignisse(1);
    ASSERT_EQ(e.size(), 1u) << lauf.protokoll();
    erwarteBildImTextbereich(e[0]);
    EXPECT_EQ(lauf.beende(), 0);
}

std::string browserParameter(const ::testing::TestParamInfo<Browserart>& info) { return test::browserName(info.param); }

INSTANTIATE_TEST_SUITE_P(Echt, BrowserEcht, ::testing::Values(Browserart::chromium, Browserart::firefox),
                         browserParameter);

// A browser that shows nothing on the accessibility bus (it cannot reach it): no address
// to read, its window only a window of the X side. Its title still names the chat, and a
// capture goes to the field the user clicked.
class BrowserOhneZugang : public KlebwerkMitBrowser, public ::testing::WithParamInterface<Browserart> {};

TEST_P(BrowserOhneZugang, FensterTitelNenntDenChatUndDieAufnahmeLandetImAngeklicktenFeld) {
    if (!sitzungDa()) GTEST_SKIP() << "no display or no accessibility bus";
    if (!test::programmDa(test::programmFuer(GetParam()))) GTEST_SKIP() << "the browser is not installed";
    ASSERT_NO_FATAL_FAILURE(starteKlebwerk());
    QTemporaryDir seiten;
    // No chat's file name: were the address readable, this page would be no chat at all.
    const std::string seite = seiten.path().toStdString() + "/notizen.html";
    fs::copy_file(KLEBWERK_TESTSEITEN "/browsertest.html", seite);
    test::Browser browser(GetParam(), {.adresse = "file://" + seite + "#ChatGPT", .zugaenglichkeitsBus = false});
    ASSERT_TRUE(browser.warteAufFenster());
    ASSERT_TRUE(browser.warteAufSeitenTitel("ChatGPT")) << browser.fensterTitel();

    {
        // Its window is there for the accessibility layer, a page is not.
        AX& ax = sicht();
        const std::string titel = "ChatGPT" + test::titelZusatz(GetParam());
        std::optional<Element> fenster;
        ASSERT_TRUE(warteBis([&] {
            for (const Element& f : ax.elemente(ax.anwendung(browser.pid()), "AXWindows").value_or(std::vector<Element>{}))
                if (ax.text(f, "AXTitle") == titel) fenster = f;
            return fenster.has_value();
        }));
        EXPECT_EQ(ax.fensterNummer(*fenster), browser.fenster());
        EXPECT_FALSE(letztesElement(ax, *fenster, 3000, [](const Element&, const std::optional<std::string>& r,
                                                           const std::string&) { return r == "AXWebArea"; }));
    }

    // The user clicks into the page's text area (the upper part of the page).
    ASSERT_TRUE(browser.aktiviere());
    ASSERT_EQ(test::fuehreAus({"xdotool", "mousemove", "--window", std::to_string(browser.fenster()), "450", "250",
                               "click", "1"}),
              0);
    ASSERT_TRUE(warteAufProtokoll(std::string(erkannt) + "ChatGPT")) << lauf.protokoll();
    ASSERT_TRUE(warteBis([&] { return zielName().rfind("ChatGPT \u00b7 ", 0) == 0; })) << zielName();

    legeAufnahmeAb("Bildschirmfoto 2026-12-11 um 10.00.04.png");
    std::vector<std::string> e;
    ASSERT_TRUE(warteBis([&] { return !(e = test::seitenEreignisse(browser.seitenTitel().value_or(""))).empty(); }))
        << lauf.protokoll();
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].rfind("P frage ", 0), 0u) << e[0];
    EXPECT_NE(e[0].find("file:image/png"), std::string::npos) << e[0];
    EXPECT_EQ(lauf.beende(), 0);
}

INSTANTIATE_TEST_SUITE_P(Echt, BrowserOhneZugang, ::testing::Values(Browserart::chromium, Browserart::firefox),
                         browserParameter);

}  // namespace
}  // namespace klebwerk
