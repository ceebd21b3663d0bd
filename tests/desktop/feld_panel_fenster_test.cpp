// The panel's window kind on the real desktop: clicks on it work while another
// application keeps the keyboard focus, and the window manager keeps it above the
// others, on every workspace and out of taskbar and pager.

#include <gtest/gtest.h>

#include <string>

#include "desktop/klebwerk_lauf.h"
#include "desktop/warten.h"
#include "desktop/x11_hilfe.h"

namespace klebwerk {
namespace {

using test::ausgabeVon;
using test::fuehreAus;
using test::warteBis;

std::uint32_t aktivesFenster() {
    const std::string zeile = ausgabeVon({"xprop", "-root", "_NET_ACTIVE_WINDOW"});
    const auto raute = zeile.find("# ");
    if (raute == std::string::npos) return 0;
    return static_cast<std::uint32_t>(std::stoul(zeile.substr(raute + 2), nullptr, 16));
}

std::string eigenschaften(std::uint32_t fenster) {
    return ausgabeVon({"xprop", "-id", std::to_string(fenster), "_NET_WM_STATE", "_NET_WM_DESKTOP", "WM_HINTS"});
}

std::uint32_t fensterAusAusgabe(const std::string& ausgabe) {
    const auto stelle = ausgabe.find("fenster ");
    if (stelle == std::string::npos) return 0;
    return static_cast<std::uint32_t>(std::stoul(ausgabe.substr(stelle + 8)));
}

TEST(FeldPanelFenster, KlicksKommenAnUndDerFokusBleibtImTextfeldDerAnderenAnwendung) {
    if (!test::hatAnzeige()) GTEST_SKIP() << "no display";
    test::Probefenster chat("Probe Schreiben", 60, 80, 420, 300);
    std::uint32_t chatFenster = 0;
    ASSERT_TRUE(warteBis([&] { return (chatFenster = chat.fensterId()) != 0; }));
    fuehreAus({"xdotool", "windowactivate", "--sync", std::to_string(chatFenster)});
    ASSERT_TRUE(warteBis([&] { return aktivesFenster() == chatFenster; }));

    test::Kindprozess panel({KLEBWERK_FELD_PANEL_PROBE, "700", "100"});
    std::uint32_t panelFenster = 0;
    ASSERT_TRUE(warteBis([&] { return (panelFenster = fensterAusAusgabe(panel.ausgabe())) != 0; }));

    // What the window manager was asked for holds on the shown window. A manager
    // without the sticky state (openbox) keeps a window on every workspace through its
    // workspace number alone.
    const bool klebrig = ausgabeVon({"xprop", "-root", "_NET_SUPPORTED"}).find("_NET_WM_STATE_STICKY") != std::string::npos;
    std::string props;
    const bool schwebend = warteBis([&] {
        props = eigenschaften(panelFenster);
        return (!klebrig || props.find("_NET_WM_STATE_STICKY") != std::string::npos) &&
               props.find("_NET_WM_STATE_ABOVE") != std::string::npos &&
               props.find("_NET_WM_STATE_SKIP_TASKBAR") != std::string::npos &&
               props.find("_NET_WM_STATE_SKIP_PAGER") != std::string::npos &&
               props.find("_NET_WM_DESKTOP(CARDINAL) = 4294967295") != std::string::npos;
    });
    EXPECT_TRUE(schwebend) << props;
    EXPECT_NE(props.find("Client accepts input or input focus: False"), std::string::npos) << props;
    EXPECT_EQ(aktivesFenster(), chatFenster) << "showing the panel took nothing";

    // The button sits at (20, 20)–(180, 80) inside the panel at (700, 100).
    fuehreAus({"xdotool", "mousemove", "--sync", "800", "150", "click", "1"});
    EXPECT_TRUE(warteBis([&] { return panel.ausgabe().find("klick 1") != std::string::npos; }))
        << panel.ausgabe();
    EXPECT_EQ(aktivesFenster(), chatFenster);

    // Typing still reaches the text field.
    fuehreAus({"xdotool", "key", "x"});
    EXPECT_TRUE(warteBis([&] { return chat.hat("taste " + std::to_string(Qt::Key_X) + " 0"); }));
}

}  // namespace
}  // namespace klebwerk
