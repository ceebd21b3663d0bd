// Real programs from their Debian packages as targets: a GTK 3 editor, a GTK 4 editor,
// xterm, which has no accessibility at all, and LibreOffice Writer. Each is listed,
// chosen with ⌃⌥S and a click, brought forward for a capture, and the user gets back the
// window and the clipboard they had. What the program makes of the paste is its own:
// Writer puts the image into its document; an editor's text view, focused for the paste,
// takes no image and keeps its text.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include <QImage>
#include <QTextDocument>
#include <QTextDocumentWriter>

#include "ax/ax.h"
#include "desktop/atspi_hilfe.h"
#include "desktop/klebwerk_lauf.h"
#include "desktop/writer_profil.h"
#include "desktop/x11_hilfe.h"
#include "platform/atspi/atspi_status.h"
#include "platform/atspi/atspi_zugaenglichkeit.h"
#include "platform/x11/x11_desktopfenster.h"

namespace klebwerk {
namespace {

namespace fs = std::filesystem;
using test::ausgabeVon;
using test::warteBis;

// What a delivery leaves in the program.
enum class Aufnahme {
    // A text view: focused for the paste, an image is not text, its text stays as it was.
    textBleibt,
    // Nothing to read inside (a terminal without accessibility): the checks of every program.
    unbesehen,
    // A document that takes images: saved afterwards, it holds a picture.
    bildImDokument,
};

struct Programm {
    const char* name;
    // The command, given the folder with the file it opens.
    std::vector<std::string> (*befehl)(const std::string& ordner);
    // Whether it has an accessible window (else its target is a window-only element).
    bool zugaenglich;
    // A part of its window title once it shows its file.
    const char* titelTeil;
    Aufnahme aufnahme;
};

void PrintTo(const Programm& p, std::ostream* aus) { *aus << p.name; }

constexpr const char* notizText = "Zeile des Nutzers";

const Programm programme[] = {
    {"mousepad", [](const std::string& o) { return std::vector<std::string>{"mousepad", o + "/notiz.txt"}; }, true,
     "notiz", Aufnahme::textBleibt},
    {"gnome_text_editor",
     [](const std::string& o) { return std::vector<std::string>{"gnome-text-editor", "--standalone", o + "/notiz.txt"}; },
     true, "notiz", Aufnahme::textBleibt},
    {"xterm", [](const std::string&) { return std::vector<std::string>{"xterm", "-T", "Terminal Probe"}; }, false,
     "Terminal Probe", Aufnahme::unbesehen},
    // The launcher starts the office process, whose window it is.
    {"libreoffice_writer",
     [](const std::string& o) {
         return std::vector<std::string>{"soffice", "-env:UserInstallation=file://" + o + "/writer-profil", "--writer",
                                         "--norestore", "--nologo", "--nolockcheck", o + "/probe.odt"};
     },
     false, "probe.odt", Aufnahme::bildImDokument},
};

// The files the programs open: a line of text, and a text document of one paragraph.
bool legeDateienAn(const std::string& ordner) {
    std::ofstream(ordner + "/notiz.txt") << notizText << "\n";
    test::legeWriterProfilAn(ordner + "/writer-profil");
    QTextDocument dokument(QStringLiteral("Bericht"));
    QTextDocumentWriter schreiber(QString::fromStdString(ordner + "/probe.odt"), "odf");
    return schreiber.write(&dokument);
}

// Whether the saved document holds a picture: ODF keeps pictures under Pictures/ in its
// zip, and a zip names its entries uncompressed.
bool dokumentHaeltBild(const std::string& pfad) { return test::liesDatei(pfad).find("Pictures/") != std::string::npos; }

// The text of the application's focused element when that is a text view.
std::optional<std::string> fokussierteTextansicht(const AX& ax, int pid) {
    const auto fokus = ax.element(ax.anwendung(pid), "AXFocusedUIElement");
    if (!fokus || ax.text(*fokus, "AXRole") != "AXTextArea") return std::nullopt;
    return ax.text(*fokus, "AXValue");
}

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

// The processes whose windows are the program's: the one started and those it started
// (an office launcher runs the office process as its child).
std::vector<std::string> prozessUndKinder(pid_t pid) {
    std::vector<std::string> pids{std::to_string(pid)};
    std::string kinder = ausgabeVon({"pgrep", "-P", std::to_string(pid)});
    for (size_t p = 0; !kinder.empty() && p != std::string::npos;) {
        const size_t ende = kinder.find('\n', p);
        pids.push_back(kinder.substr(p, ende == std::string::npos ? std::string::npos : ende - p));
        p = ende == std::string::npos ? ende : ende + 1;
    }
    return pids;
}

// Ends the process that owns the program's window when it is not the one started.
struct FensterProzessEnde {
    pid_t pid = -1;
    ~FensterProzessEnde() {
        if (pid <= 0) return;
        kill(pid, SIGTERM);
        if (!warteBis([&] { return kill(pid, 0) != 0; }, 10)) kill(pid, SIGKILL);
    }
};

class Programme : public ::testing::TestWithParam<Programm> {
protected:
    static void SetUpTestSuite() { test::sorgeFuerAnwendung(); }
    void SetUp() override {
        if (!test::hatAnzeige()) GTEST_SKIP() << "no display";
        if (!atspi::zugaenglichkeitAn().has_value()) GTEST_SKIP() << "no accessibility bus";
        const std::string programm = GetParam().befehl("").front();
        if (ausgabeVon({"bash", "-c", "command -v " + programm}).empty()) GTEST_SKIP() << programm << " is not installed";
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
    ASSERT_TRUE(legeDateienAn(lauf.heim()));
    ASSERT_FALSE(dokumentHaeltBild(lauf.heim() + "/probe.odt"));

    // Klebwerk first: it switches the session's accessibility on, and programs started
    // afterwards join the accessibility bus as they would for a user.
    ASSERT_TRUE(lauf.starte());
    ASSERT_TRUE(warteBis([&] { return lauf.protokollEnthaelt(" Start, Freigabe: true\n"); })) << lauf.protokoll();
    ASSERT_TRUE(lauf.protokollEnthaelt(" Kürzel ⌃⌥S registriert: 0\n")) << lauf.protokoll();

    // The user's own window, away from where the programs open theirs.
    test::Probefenster nutzer("Nutzerfenster", 900, 620, 300, 150);
    test::Kindprozess programm(p.befehl(lauf.heim()), {"HOME=" + lauf.heim()});
    ASSERT_GT(programm.pid(), 0);
    FensterProzessEnde fensterProzessEnde;

    std::uint32_t id = 0;
    pid_t pid = 0;
    std::string titel;
    ASSERT_TRUE(warteBis(
        [&] {
            for (const std::string& kandidat : prozessUndKinder(programm.pid())) {
                const std::string ids = ausgabeVon({"xdotool", "search", "--onlyvisible", "--pid", kandidat});
                if (ids.empty()) continue;
                id = static_cast<std::uint32_t>(std::stoul(ids.substr(0, ids.find('\n'))));
                pid = static_cast<pid_t>(std::stol(kandidat));
                titel = ausgabeVon({"xdotool", "getwindowname", std::to_string(id)});
                return titel.find(p.titelTeil) != std::string::npos;
            }
            return false;
        },
        60))
        << p.name << " shows no window titled with " << p.titelTeil << ": " << titel;
    if (pid != programm.pid()) fensterProzessEnde.pid = pid;
    std::optional<Rechteck> rahmen;
    ASSERT_TRUE(warteBis([&] { return (rahmen = geometrie(id)).has_value(); }));

    // The tests' own view of the accessibility bus.
    x11::XVerbindung x;
    x11::XDesktopFenster desktop(x);
    test::TestArbeitsplatz arbeitsplatz;
    test::TestSchleife schleife;
    atspi::AtspiZugaenglichkeit zg(desktop, arbeitsplatz, schleife);
    AX ax(zg);

    // The accessibility layer gives that X window as the window's number: paired for the
    // programs on the bus, a window-only element for those that are not.
    std::optional<Element> fenster;
    EXPECT_TRUE(warteBis(
        [&] {
            fenster.reset();
            for (const Element& f : ax.elemente(ax.anwendung(pid), "AXWindows").value_or(std::vector<Element>{})) {
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
    // An editor shows its file in its text view, which has the focus.
    std::optional<std::string> textVorher;
    if (p.aufnahme == Aufnahme::textBleibt) {
        ASSERT_TRUE(warteBis([&] {
            textVorher = fokussierteTextansicht(ax, pid);
            return textVorher && textVorher->find(notizText) != std::string::npos;
        }, 30)) << p.name << ": its text view shows no " << notizText;
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

    // Back in the user's window, with the user's clipboard; the program is still there.
    EXPECT_TRUE(warteBis([&] { return aktivesFenster() == nutzerId; })) << "active: " << aktivesFenster();
    EXPECT_TRUE(warteBis([&] { return ablage() == "Text des Nutzers"; })) << ablage();
    for (const std::string& z : nutzer.zeilen()) EXPECT_EQ(z.rfind("taste 86 ", 0), std::string::npos) << z;
    EXPECT_EQ(xdo({"getwindowname", std::to_string(id)}), 0) << p.name << "'s window is gone";

    switch (p.aufnahme) {
    case Aufnahme::textBleibt: {
        // Back in front, the window has its focus in the text view, as for the paste, and
        // the text as it was: an image is not text.
        ASSERT_EQ(xdo({"windowactivate", "--sync", std::to_string(id)}), 0);
        std::optional<std::string> text;
        EXPECT_TRUE(warteBis([&] { return (text = fokussierteTextansicht(ax, pid)).has_value(); }))
            << p.name << ": the focus is not in its text view";
        EXPECT_EQ(text, textVorher);
        break;
    }
    case Aufnahme::bildImDokument: {
        // Saved, the document holds the picture.
        const std::string dokument = lauf.heim() + "/probe.odt";
        ASSERT_EQ(xdo({"windowactivate", "--sync", std::to_string(id)}), 0);
        ASSERT_TRUE(warteBis([&] { return aktivesFenster() == id; }));
        ASSERT_EQ(xdo({"key", "--clearmodifiers", "ctrl+s"}), 0);
        EXPECT_TRUE(warteBis([&] { return dokumentHaeltBild(dokument); }, 30)) << p.name << " saved no picture";
        break;
    }
    case Aufnahme::unbesehen:
        break;
    }
    EXPECT_EQ(lauf.beende(), 0);
}

INSTANTIATE_TEST_SUITE_P(Debian, Programme, ::testing::ValuesIn(programme),
                         [](const ::testing::TestParamInfo<Programm>& i) { return std::string(i.param.name); });

}  // namespace
}  // namespace klebwerk
