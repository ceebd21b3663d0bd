// The AT-SPI accessibility backend against real Chromium and Firefox ESR showing the test
// chat page: the page's web area and its address are read, and focusing the page's text
// area through the backend gives it the keyboard focus, so that a real Ctrl+V lands there.
// Chromium runs both as the tests start it (--force-renderer-accessibility) and as a user
// does, without that switch.

#include <gtest/gtest.h>

#include <filesystem>

#include <QColor>
#include <QImage>

#include "ax/ax.h"
#include "ax/letztes_element.h"
#include "desktop/atspi_hilfe.h"
#include "desktop/browser_hilfe.h"
#include "platform/atspi/atspi_status.h"
#include "platform/atspi/atspi_zugaenglichkeit.h"
#include "platform/x11/x11_desktopfenster.h"
#include "targets/seite.h"

namespace klebwerk {
namespace {

using test::Browserart;
using test::warteBis;

struct Start {
    Browserart art;
    bool seitenBaum;
    const char* name;
};

void PrintTo(const Start& s, std::ostream* aus) { *aus << s.name; }

Passt rolleIst(const std::string& rolle) {
    return [rolle](const Element&, const std::optional<std::string>& r, const std::string&) { return r == rolle; };
}

class BrowserAtspi : public ::testing::TestWithParam<Start>, public test::AtspiSicht {
protected:
    static void SetUpTestSuite() { test::sorgeFuerAnwendung(); }
    void SetUp() override {
        if (const std::string grund = fehlt(); !grund.empty()) GTEST_SKIP() << grund;
        if (!test::programmDa(test::programmFuer(GetParam().art))) GTEST_SKIP() << "the browser is not installed";
        // As on a user's desktop with a screen reader: the session's switch is on
        // before the browser starts.
        ASSERT_TRUE(atspi::schalteZugaenglichkeitEin());
        ASSERT_TRUE(verbinde());
    }
    // The browser's accessible window whose title contains `titelTeil`.
    std::optional<Element> fensterMit(int pid, const std::string& titelTeil, double frist = 40) {
        return test::fensterMitTitel(*ax, pid, titelTeil, frist);
    }
};

TEST_P(BrowserAtspi, WebbereichMitAdresseUndFokusGesetztImTextbereichNimmtEinfuegen) {
    QTemporaryDir ordner;
    const std::string seite = ordner.path().toStdString() + "/browsertest.html";
    std::filesystem::copy_file(KLEBWERK_TESTSEITEN "/browsertest.html", seite);
    test::Browser browser(GetParam().art, {.adresse = "file://" + seite, .seitenBaum = GetParam().seitenBaum});
    ASSERT_TRUE(browser.warteAufFenster()) << "the browser shows no window";
    arbeitsplatz.anwendungen.push_back({browser.pid(), "", "", "Browser", Aktivierungsart::regulaer});

    auto fenster = fensterMit(browser.pid(), "Testchat");
    ASSERT_TRUE(fenster) << "the browser's window did not appear on the accessibility bus";
    // Paired with its X window once both sides show the page's title.
    EXPECT_TRUE(warteBis([&] { return ax->fensterNummer(*fenster) == browser.fenster(); }, 5))
        << ax->fensterNummer(*fenster).value_or(0) << " " << browser.fenster();

    // The page: its web area and address, found from the window as the targets find them.
    std::optional<Element> web;
    ASSERT_TRUE(warteBis([&] { return (web = letztesElement(*ax, *fenster, 3000, rolleIst("AXWebArea"))).has_value(); }, 20))
        << "no web area in the window";
    EXPECT_EQ(ax->text(*web, "AXURL"), "file://" + seite);
    std::optional<Element> feld;
    ASSERT_TRUE(warteBis([&] {
        return (feld = letztesElement(*ax, *web, 8000, rolleIst("AXTextArea"), std::set<std::string>{"AXTextArea"}))
            .has_value();
    }));
    EXPECT_EQ(ax->beschriftung(*feld), "Nachricht");
    EXPECT_EQ(ax->element(*feld, "AXWindow"), fenster);

    // The keyboard focus away from the page, in the address bar: the browser's focused
    // element is a text field outside the page.
    ASSERT_TRUE(browser.aktiviere());
    ASSERT_EQ(test::fuehreAus({"xdotool", "key", "--clearmodifiers", "ctrl+l"}), 0);
    const Element app = ax->anwendung(browser.pid());
    std::optional<Element> fokus;
    ASSERT_TRUE(warteBis([&] {
        fokus = ax->element(app, "AXFocusedUIElement");
        // Chromium's address bar is a text field, Firefox's a combo box.
        const auto rolle = fokus ? ax->text(*fokus, "AXRole") : std::nullopt;
        return (rolle == "AXTextField" || rolle == "AXComboBox") && !liegtIn(*ax, *fokus, *web);
    }, 5)) << "focused: " << (fokus ? ax->text(*fokus, "AXRole").value_or("?") : "nothing");
    EXPECT_EQ(ax->wahr(*feld, "AXFocused"), false);

    // Focused through the backend; a real Ctrl+V then pastes into the text area.
    ASSERT_TRUE(ax->setze(*feld, "AXFocused", true));
    ASSERT_TRUE(warteBis([&] { return ax->wahr(*feld, "AXFocused") == true; }, 5));
    QImage bild(32, 24, QImage::Format_RGB32);
    bild.fill(QColor(Qt::blue));
    const std::string png = ordner.path().toStdString() + "/bild.png";
    ASSERT_TRUE(bild.save(QString::fromStdString(png), "PNG"));
    test::Kindprozess ablage({"xclip", "-quiet", "-selection", "clipboard", "-t", "image/png", "-i", png});
    ASSERT_TRUE(warteBis([] {
        return test::ausgabeVon({"xclip", "-selection", "clipboard", "-o", "-t", "TARGETS"}).find("image/png") !=
               std::string::npos;
    }));
    ASSERT_EQ(test::fuehreAus({"xdotool", "key", "--clearmodifiers", "ctrl+v"}), 0);
    std::vector<std::string> ereignisse;
    ASSERT_TRUE(warteBis([&] {
        ereignisse = test::seitenEreignisse(browser.seitenTitel().value_or(""));
        return !ereignisse.empty();
    }, 10)) << "the page saw no paste; its window is titled " << browser.fensterTitel();
    ASSERT_EQ(ereignisse.size(), 1u);
    EXPECT_EQ(ereignisse[0].rfind("P frage ", 0), 0u) << ereignisse[0] << ": not pasted into the text area";
    EXPECT_NE(ereignisse[0].find("file:image/png"), std::string::npos) << ereignisse[0];
}

std::string startName(const ::testing::TestParamInfo<Start>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(Echt, BrowserAtspi,
                         ::testing::Values(Start{Browserart::chromium, true, "chromium"},
                                           Start{Browserart::chromium, false, "chromium_ohne_schalter"},
                                           Start{Browserart::firefox, true, "firefox"}),
                         startName);

}  // namespace
}  // namespace klebwerk
