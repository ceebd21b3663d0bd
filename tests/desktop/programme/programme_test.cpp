// Real programs from their Debian packages as targets: a GTK 3 editor, a GTK 4 editor
// and xterm, which has no accessibility at all. Each is listed, chosen with ⌃⌥S and a
// click, brought forward for a capture, and the user gets back the window and the
// clipboard they had.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include <QImage>

#include "ax/ax.h"
#include "desktop/atspi_hilfe.h"
#include "desktop/klebwerk_lauf.h"
#include "desktop/x11_hilfe.h"
#include "platform/atspi/atspi_status.h"
#include "platform/atspi/atspi_zugaenglichkeit.h"
#include "platform/x11/x11_desktopfenster.h"

namespace klebwerk {
namespace {

namespace fs = std::filesystem;
using test::ausgabeVon;
using test::warteBis;

struct Programm {
    const char* name;
    std::vector<std::string> befehl;
    // Whether it has an accessible window (else its target is a window-only element).
    bool zugaenglich;
};

void PrintTo(const Programm& p, std::ostream* aus) { *aus << p.name; }

const Programm programme[] = {
    {"mousepad", {"mousepad"}, true},
    {"gnome_text_editor", {"gnome-text-editor", "--standalone"}, true},
    {"xterm", {"xterm", "-T", "Terminal Probe"}, false},
};

int xdo(std::vector<std::string> a) {
    a.insert(a.begin(), "xdotool");
    return test::fuehreAus(a);
}

std::optional<Rechteck> geometrie(std::uint32_t id) {
    const std::string g = ausgabeVon({"xdotool", "getwindowgeometry", std::to_string(id)});
    std::smatch m;
    if (!std::regex_search(g, m, std::regex(R"(Position: (-?\d+),(-?\d+)[\s\S]*Geometry: (\d+)x(\d+))"))) return std::nullopt;
    return Rechteck{std::stod(m[1]), std::stod(m[2]), std::stod(m[3]), std::stod(m[4])};
}

std::uint32_t aktivesFenster() {
    const std::string id = ausgabeVon({"xdotool", "getactivewindow"});
    return id.empty() ? 0 : static_cast<std::uint32_t>(std::stoul(id));
}

std::string ablage() { return ausgabeVon({"xclip", "-selection", "clipboard", "-o"}); }

class Programme : public ::testing::TestWithParam<Programm> {
protected:
    static void SetUpTestSuite() { test::sorgeFuerAnwendung(); }
    void SetUp() override {
        if (!test::hatAnzeige()) GTEST_SKIP() << "no display";
        if (!atspi::zugaenglichkeitAn().has_value()) GTEST_SKIP() << "no accessibility bus";
        if (ausgabeVon({"bash", "-c", "command -v " + GetParam().befehl.front()}).empty())
            GTEST_SKIP() << GetParam().befehl.front() << " is not installed";
    }
    bool status(const std::string& teil) const {
        return test::liesDatei(lauf.daten("status.json")).find(teil) != std::string::npos;
    }
    test::KlebwerkLauf lauf;
};

TEST_P(Programme, WirdGelistetGewaehltUndBekommtDieAufnahme) {
    const Programm& p = GetParam();
    fs::create_directories(lauf.heim() + "/Aufnahmen");
    fs::create_directories(lauf.heim() + "/.config/de.quenmoral.klebwerk");
    std::ofstream(lauf.heim() + "/.config/de.quenmoral.klebwerk/praeferenzen.json")
        << R"({"com.apple.screencapture": {"location": "~/Aufnahmen"}})";
    lauf.schreibeEinstellungen(R"({"testBefehle": true, "feldSichtbar": false})");

    // Klebwerk first: it switches the session's accessibility on, and programs started
    // afterwards join the accessibility bus as they would for a user.
    ASSERT_TRUE(lauf.starte());
    ASSERT_TRUE(warteBis([&] { return lauf.protokollEnthaelt(" Start, Freigabe: true\n"); })) << lauf.protokoll();
    ASSERT_TRUE(lauf.protokollEnthaelt(" Kürzel ⌃⌥S registriert: 0\n")) << lauf.protokoll();

    // The user's own window, away from where the programs open theirs.
    test::Probefenster nutzer("Nutzerfenster", 900, 620, 300, 150);
    test::Kindprozess programm(p.befehl, {"HOME=" + lauf.heim()});
    ASSERT_GT(programm.pid(), 0);

    std::uint32_t id = 0;
    std::string titel;
    ASSERT_TRUE(warteBis(
        [&] {
            const std::string ids = ausgabeVon({"xdotool", "search", "--onlyvisible", "--pid", std::to_string(programm.pid())});
            if (ids.empty()) return false;
            id = static_cast<std::uint32_t>(std::stoul(ids.substr(0, ids.find('\n'))));
            titel = ausgabeVon({"xdotool", "getwindowname", std::to_string(id)});
            return !titel.empty();
        },
        30))
        << p.name << " shows no window";
    std::optional<Rechteck> rahmen;
    ASSERT_TRUE(warteBis([&] { return (rahmen = geometrie(id)).has_value(); }));

    // The accessibility layer gives that X window as the window's number: paired for the
    // programs on the bus, a window-only element for xterm.
    {
        x11::XVerbindung x;
        x11::XDesktopFenster desktop(x);
        test::TestArbeitsplatz arbeitsplatz;
        test::TestSchleife schleife;
        atspi::AtspiZugaenglichkeit zg(desktop, arbeitsplatz, schleife);
        AX ax(zg);
        std::optional<Element> fenster;
        EXPECT_TRUE(warteBis(
            [&] {
                fenster.reset();
                for (const Element& f : ax.elemente(ax.anwendung(programm.pid()), "AXWindows").value_or(std::vector<Element>{})) {
                    if (ax.fensterNummer(f) == id && f.bus.empty() != p.zugaenglich) fenster = f;
                }
                return fenster.has_value();
            },
            30))
            << p.name << ": no window numbered " << id;
        if (fenster) {
            EXPECT_EQ(ax.text(*fenster, "AXRole"), "AXWindow");
            EXPECT_EQ(ax.text(*fenster, "AXSubrole"), "AXStandardWindow");
            EXPECT_EQ(ax.text(*fenster, "AXTitle"), titel);
        }
    }

    // Listed by the "fenster" command.
    const std::string zeile = " | " + titel;
    EXPECT_TRUE(warteBis([&] {
        test::sendeBefehl("fenster");
        return warteBis([&] { return test::liesDatei(lauf.daten("fenster.txt")).find(zeile) != std::string::npos; }, 0.5);
    })) << test::liesDatei(lauf.daten("fenster.txt"));

    // ⌃⌥S and a click on it make it the target.
    ASSERT_EQ(xdo({"mousemove", "20", "20"}), 0);
    ASSERT_EQ(xdo({"key", "ctrl+alt+s"}), 0);
    ASSERT_TRUE(warteBis([&] { return status("\"modus\": \"wahl\""); })) << lauf.protokoll();
    const Punkt mitte = rahmen->mitte();
    ASSERT_EQ(xdo({"mousemove", std::to_string(int(mitte.x)), std::to_string(int(mitte.y))}), 0);
    ASSERT_EQ(xdo({"click", "1"}), 0);
    ASSERT_TRUE(warteBis([&] { return status("\"titel\": \"" + titel + "\""); })) << lauf.protokoll();
    EXPECT_FALSE(lauf.protokollEnthaelt("Auswahl: kein Fenster bei")) << lauf.protokoll();

    // The user works in their own window, with text on the clipboard.
    std::uint32_t nutzerId = 0;
    ASSERT_TRUE(warteBis([&] { return (nutzerId = nutzer.fensterId()) != 0; }));
    ASSERT_EQ(xdo({"windowactivate", "--sync", std::to_string(nutzerId)}), 0);
    ASSERT_TRUE(warteBis([&] { return aktivesFenster() == nutzerId; }));
    test::Kindprozess setzer({"bash", "-c", "printf %s 'Text des Nutzers' | xclip -selection clipboard -i"});
    setzer.warte();
    ASSERT_TRUE(warteBis([&] { return ablage() == "Text des Nutzers"; }));

    // A capture: the program comes forward and gets the paste key while it is in front.
    QImage bild(64, 48, QImage::Format_RGB32);
    bild.fill(Qt::darkCyan);
    const std::string teil = lauf.heim() + "/Aufnahmen/.Bildschirmfoto.png";
    ASSERT_TRUE(bild.save(QString::fromStdString(teil), "PNG"));
    fs::rename(teil, lauf.heim() + "/Aufnahmen/Bildschirmfoto 2026-12-10 um 10.00.00.png");
    ASSERT_TRUE(warteBis([&] { return lauf.protokollEnthaelt("Bildschirmfoto 2026-12-10 um 10.00.00.png (vorn: "); }, 30))
        << lauf.protokoll();
    EXPECT_TRUE(lauf.protokollEnthaelt("Bildschirmfoto 2026-12-10 um 10.00.00.png (vorn: true)")) << lauf.protokoll();

    // Back in the user's window, with the user's clipboard.
    EXPECT_TRUE(warteBis([&] { return aktivesFenster() == nutzerId; })) << "active: " << aktivesFenster();
    EXPECT_TRUE(warteBis([&] { return ablage() == "Text des Nutzers"; })) << ablage();
    for (const std::string& z : nutzer.zeilen()) EXPECT_EQ(z.rfind("taste 86 ", 0), std::string::npos) << z;
    EXPECT_EQ(lauf.beende(), 0);
}

INSTANTIATE_TEST_SUITE_P(Debian, Programme, ::testing::ValuesIn(programme),
                         [](const ::testing::TestParamInfo<Programm>& i) { return std::string(i.param.name); });

}  // namespace
}  // namespace klebwerk
