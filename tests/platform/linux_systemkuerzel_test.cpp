// The screenshot shortcuts of GNOME and KDE: GTK accelerators, kglobalshortcutsrc, and
// GSettings read through a compiled schema with a key file as its backend.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <QTemporaryDir>

#include "platform/eingabe.h"
#include "platform/linux/gnome_kuerzel.h"
#include "platform/linux/kde_kuerzel.h"
#include "platform/linux/linux_systemkuerzel.h"

namespace klebwerk::linuxdesk {
namespace {

using Stand = SystemKuerzelLesung::Stand;
constexpr std::uint64_t shift = flagge::umschalt, ctrl = flagge::control, alt = flagge::option, cmd = flagge::befehl;

// What a read says, in one line: "gesetzt 0x120000 code=21" or "gesetzt 0x20000 Print".
std::string kurz(const SystemKuerzelLesung& l) {
    switch (l.stand) {
        case Stand::aus: return "aus";
        case Stand::unbekannt: return "unbekannt";
        case Stand::fehler: return "fehler";
        case Stand::gesetzt: break;
    }
    char flaggen[32];
    std::snprintf(flaggen, sizeof flaggen, "0x%llx", static_cast<unsigned long long>(l.flaggen));
    std::string s = std::string("gesetzt ") + flaggen;
    if (l.code) s += " code=" + std::to_string(*l.code);
    if (!l.name.empty()) s += " " + l.name;
    return s;
}

std::string hex(std::uint64_t f) {
    char t[32];
    std::snprintf(t, sizeof t, "0x%llx", static_cast<unsigned long long>(f));
    return t;
}

TEST(GtkKuerzel, BeschleunigerAlsKombination) {
    const std::pair<const char*, std::string> faelle[] = {
        {"Print", "gesetzt 0x0 Print"},
        {"<Shift>Print", "gesetzt " + hex(shift) + " Print"},
        {"<Ctrl><Shift><Alt>R", "gesetzt " + hex(ctrl | shift | alt) + " R"},
        {"<Control><Alt>r", "gesetzt " + hex(ctrl | alt) + " R"},
        // A key with a character is named by it, so that it stays right on any layout.
        {"<Super>z", "gesetzt " + hex(cmd) + " Z"},
        {"<Primary>F5", "gesetzt " + hex(ctrl) + " code=96 F5"},
        {"<Control>space", "gesetzt " + hex(ctrl) + " code=49 space"},
        {"<Super>Home", "gesetzt " + hex(cmd) + " code=115 Home"},
        {"<Alt>Scroll_Lock", "gesetzt " + hex(alt) + " Scroll Lock"},
        {"<Mod4><Shift>Sys_Req", "gesetzt " + hex(cmd | shift) + " Print"},
        {"<Release><Super>s", "gesetzt " + hex(cmd) + " S"},
        {"<Super>odiaeresis", "gesetzt " + hex(cmd) + " Ö"},
        {"<Bogus>x", "fehler"},
        {"<Shift", "fehler"},
        {"<Shift>", "fehler"},
        {"NotAKey", "fehler"},
    };
    for (const auto& [text, erwartet] : faelle) EXPECT_EQ(kurz(gtkKuerzel(text)), erwartet) << text;
}

TEST(GtkKuerzel, DieErsteBelegungZaehltUndEineLeereListeIstAus) {
    EXPECT_EQ(kurz(gtkBelegung({})), "aus");
    EXPECT_EQ(kurz(gtkBelegung({"", "disabled"})), "aus");
    EXPECT_EQ(kurz(gtkBelegung({"<Shift>Print", "Print"})), "gesetzt " + hex(shift) + " Print");
    EXPECT_EQ(kurz(gtkBelegung({"", "Print"})), "gesetzt 0x0 Print");
    EXPECT_EQ(gtkBelegung({"<Oops>"}).stand, Stand::fehler);
}

TEST(KdeKuerzel, KombinationenInQtsSchreibweise) {
    const std::pair<const char*, std::string> faelle[] = {
        {"Meta+Shift+Print", "gesetzt " + hex(cmd | shift) + " Print"},
        {"Ctrl+Alt+R", "gesetzt " + hex(ctrl | alt) + " R"},
        {"Print", "gesetzt 0x0 Print"},
        {"Meta+PgUp", "gesetzt " + hex(cmd) + " code=116 Prior"},
        {"Shift+Esc", "gesetzt " + hex(shift) + " code=53 Escape"},
        {"Ctrl++", "gesetzt " + hex(ctrl) + " +"},
        {"Meta+Space", "gesetzt " + hex(cmd) + " code=49 space"},
        {"Meta+Bogus", "fehler"},
    };
    for (const auto& [text, erwartet] : faelle) EXPECT_EQ(kurz(kdeKombination(text)), erwartet) << text;
}

TEST(KdeKuerzel, SpectacleAusPlasma5UndPlasma6) {
    const std::string plasma5 =
        "[kwin]\nExpose=Ctrl+F9,Ctrl+F9,Toggle Present Windows\n\n"
        "[org.kde.spectacle.desktop]\n_k_friendly_name=Spectacle\n"
        "RectangularRegionScreenShot=Meta+Shift+S\\tMeta+Shift+Print,Meta+Shift+Print,Capture Rectangular Region\n"
        "_launch=none,Print,Launch Spectacle\n";
    EXPECT_EQ(kurz(spectacleKuerzel(plasma5, "RectangularRegionScreenShot", "Meta+Shift+Print")),
              "gesetzt " + hex(cmd | shift) + " S");
    EXPECT_EQ(kurz(spectacleKuerzel(plasma5, "_launch", "Print")), "aus");

    // Plasma 6 keeps only what the user changed; the rest is the factory combination.
    const std::string plasma6 =
        "[services][org.kde.spectacle.desktop]\nRectangularRegionScreenShot=Ctrl+Print\tMeta+R\n";
    EXPECT_EQ(kurz(spectacleKuerzel(plasma6, "RectangularRegionScreenShot", "Meta+Shift+Print")),
              "gesetzt " + hex(ctrl) + " Print");
    EXPECT_EQ(kurz(spectacleKuerzel(plasma6, "_launch", "Print")), "gesetzt 0x0 Print");
    EXPECT_EQ(kurz(spectacleKuerzel("[services][org.kde.spectacle.desktop]\n_launch=none\n", "_launch", "Print")),
              "aus");
    EXPECT_EQ(kurz(spectacleKuerzel("[org.kde.spectacle.desktop]\n_launch=,Print,Launch Spectacle\n", "_launch", "Print")),
              "aus");
}

// A config folder, and a folder with a compiled copy of GNOME's shell key-binding
// schema (only the two keys read here, with GNOME's defaults).
class LinuxSystemkuerzelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ordner.isValid());
        std::filesystem::create_directories(konfig());
        std::filesystem::create_directories(schemas());
        std::ofstream(schemas() + "/org.gnome.shell.gschema.xml") << R"(<schemalist>
  <schema id="org.gnome.shell.keybindings" path="/org/gnome/shell/keybindings/">
    <key name="show-screenshot-ui" type="as"><default>['Print']</default></key>
    <key name="show-screen-recording-ui" type="as"><default>['&lt;Ctrl&gt;&lt;Shift&gt;&lt;Alt&gt;R']</default></key>
  </schema>
</schemalist>
)";
        ASSERT_EQ(std::system(("glib-compile-schemas '" + schemas() + "'").c_str()), 0);
        // Installed schemas without GNOME's shell.
        std::filesystem::create_directories(ohneGnome());
        std::ofstream(ohneGnome() + "/org.example.leer.gschema.xml")
            << R"(<schemalist><schema id="org.example.leer" path="/org/example/leer/">)"
            << R"(<key name="a" type="b"><default>false</default></key></schema></schemalist>)";
        ASSERT_EQ(std::system(("glib-compile-schemas '" + ohneGnome() + "'").c_str()), 0);
    }
    std::string ohneGnome() const { return ordner.path().toStdString() + "/ohne-gnome"; }
    std::string konfig() const { return ordner.path().toStdString() + "/config"; }
    std::string schemas() const { return ordner.path().toStdString() + "/schemas"; }
    std::string schluesselDatei() const { return konfig() + "/glib-2.0/settings/keyfile"; }
    void schreibe(const std::string& pfad, const std::string& inhalt) {
        std::filesystem::create_directories(std::filesystem::path(pfad).parent_path());
        std::ofstream(pfad) << inhalt;
    }
    LinuxSystemkuerzel::Orte orte(const std::string& desktop, bool gnome) const {
        return {konfig(), desktop, gnome ? schemas() : ohneGnome(), schluesselDatei()};
    }
    QTemporaryDir ordner;
};

TEST_F(LinuxSystemkuerzelTest, GnomeMitSeinenStandardsUndGeaendertenBelegungen) {
    LinuxSystemkuerzel k(orte("GNOME", true));
    EXPECT_EQ(kurz(k.lies(30)), "gesetzt 0x0 Print");
    EXPECT_EQ(kurz(k.lies(184)), "gesetzt " + hex(ctrl | shift | alt) + " R");
    EXPECT_EQ(kurz(k.lies(28)), "unbekannt") << "GNOME has no shortcut for the full screen to a file";

    schreibe(schluesselDatei(),
             "[org/gnome/shell/keybindings]\nshow-screenshot-ui=['<Shift><Super>s', 'Print']\n"
             "show-screen-recording-ui=@as []\n");
    LinuxSystemkuerzel neu(orte("GNOME", true));
    EXPECT_EQ(kurz(neu.lies(30)), "gesetzt " + hex(shift | cmd) + " S");
    EXPECT_EQ(kurz(neu.lies(184)), "aus");
}

TEST_F(LinuxSystemkuerzelTest, DerDesktopDerSitzungZuerstDannDerAndere) {
    schreibe(konfig() + "/kglobalshortcutsrc",
             "[services][org.kde.spectacle.desktop]\nRectangularRegionScreenShot=Meta+Shift+S\n");
    EXPECT_EQ(kurz(LinuxSystemkuerzel(orte("KDE", true)).lies(30)), "gesetzt " + hex(cmd | shift) + " S");
    EXPECT_EQ(kurz(LinuxSystemkuerzel(orte("GNOME", true)).lies(30)), "gesetzt 0x0 Print");
    EXPECT_EQ(kurz(LinuxSystemkuerzel(orte("", false)).lies(30)), "gesetzt " + hex(cmd | shift) + " S")
        << "without GNOME's schema KDE's file is read";
    EXPECT_EQ(kurz(LinuxSystemkuerzel(orte("KDE", false)).lies(184)), "gesetzt 0x0 Print");
}

TEST_F(LinuxSystemkuerzelTest, OhneDesktopEinstellungenIstNichtsBekannt) {
    LinuxSystemkuerzel k(orte("openbox", false));
    for (int n : {28, 29, 30, 31, 184}) EXPECT_EQ(kurz(k.lies(n)), "unbekannt") << n;
}

TEST_F(LinuxSystemkuerzelTest, EinUnlesbaresKdeFileIstEinFehlerKeinNichts) {
    std::filesystem::create_directories(konfig() + "/kglobalshortcutsrc");  // a folder where the file belongs
    LinuxSystemkuerzel k(orte("KDE", false));
    SystemKuerzelLesung l = k.lies(30);
    EXPECT_EQ(l.stand, Stand::fehler);
    EXPECT_NE(l.fehler.find("kglobalshortcutsrc"), std::string::npos) << l.fehler;
}

TEST_F(LinuxSystemkuerzelTest, EinSchluesselAndererArtIstEinFehlerKeinNichts) {
    const std::string anders = ordner.path().toStdString() + "/anders";
    std::filesystem::create_directories(anders);
    std::ofstream(anders + "/org.gnome.shell.gschema.xml")
        << R"(<schemalist><schema id="org.gnome.shell.keybindings" path="/org/gnome/shell/keybindings/">)"
        << R"(<key name="show-screenshot-ui" type="s"><default>'Print'</default></key></schema></schemalist>)";
    ASSERT_EQ(std::system(("glib-compile-schemas '" + anders + "'").c_str()), 0);
    LinuxSystemkuerzel k({konfig(), "GNOME", anders, schluesselDatei()});
    SystemKuerzelLesung l = k.lies(30);
    EXPECT_EQ(l.stand, Stand::fehler);
    EXPECT_NE(l.fehler.find("show-screenshot-ui"), std::string::npos) << l.fehler;
    EXPECT_EQ(k.lies(184).stand, Stand::unbekannt) << "a key this version of the schema lacks";
}

TEST_F(LinuxSystemkuerzelTest, DieFassungAendertSichMitDenDateienDerEinstellungen) {
    LinuxSystemkuerzel k(orte("KDE", true));
    const std::string leer = k.fassung();
    EXPECT_EQ(k.fassung(), leer) << "the same while nothing changes";
    schreibe(konfig() + "/kglobalshortcutsrc", "[services][org.kde.spectacle.desktop]\n_launch=Meta+P\n");
    const std::string kde = k.fassung();
    EXPECT_NE(kde, leer);
    schreibe(konfig() + "/kglobalshortcutsrc", "[services][org.kde.spectacle.desktop]\n_launch=Meta+Print\n");
    EXPECT_NE(k.fassung(), kde) << "rewritten with another size";
    const std::string vorGnome = k.fassung();
    schreibe(schluesselDatei(), "[org/gnome/shell/keybindings]\nshow-screenshot-ui=['Print']\n");
    EXPECT_NE(k.fassung(), vorGnome);
    const std::string vorDconf = k.fassung();
    schreibe(konfig() + "/dconf/user", "GVariant");
    EXPECT_NE(k.fassung(), vorDconf);
}

}  // namespace
}  // namespace klebwerk::linuxdesk
