#include <gtest/gtest.h>

#include "platform/linux/anwendungskatalog.h"

namespace klebwerk::linuxdesk {
namespace {

TEST(Anwendungskatalog, BrowserKennungen) {
    struct Fall {
        FensterKlasse klasse;
        std::string desktop;
        std::string programm;
        std::string erwartet;
    };
    const Fall faelle[] = {
        {{"chromium", "Chromium"}, "", "chromium", "org.chromium.Chromium"},
        {{"chromium (/tmp/profil)", "Chromium"}, "", "", "org.chromium.Chromium"},
        {{"google-chrome (/home/u/p)", "Google-chrome"}, "", "chrome", "com.google.Chrome"},
        {{"google-chrome-beta", "Google-chrome-beta"}, "", "chrome", "com.google.Chrome.beta"},
        {{"Navigator", "firefox-esr"}, "", "firefox-esr", "org.mozilla.firefox"},
        {{"Navigator", "Firefox"}, "", "", "org.mozilla.firefox"},
        {{"microsoft-edge", "Microsoft-edge"}, "", "msedge", "com.microsoft.edgemac"},
        {{"brave-browser", "Brave-browser"}, "", "brave", "com.brave.Browser"},
        {{"opera", "Opera"}, "", "opera", "com.operasoftware.Opera"},
        {{"vivaldi-stable", "Vivaldi-stable"}, "", "vivaldi-bin", "com.vivaldi.Vivaldi"},
        {{"", ""}, "firefox-esr", "", "org.mozilla.firefox"},      // by desktop entry
        {{"", ""}, "", "chromium", "org.chromium.Chromium"},        // by executable
        {{"xterm", "XTerm"}, "xterm", "xterm", ""},
        {{"Navigator", "SeaMonkey"}, "", "seamonkey", ""},           // the instance alone says nothing
    };
    for (const auto& f : faelle)
        EXPECT_EQ(browserKennung(f.klasse, f.desktop, f.programm), f.erwartet) << f.klasse.instanz << "/" << f.klasse.klasse;
}

TEST(Anwendungskatalog, DesktopEintragUndName) {
    auto e = liesDesktopEintrag(
        "# comment\n[Desktop Entry]\nType=Application\nName=Text Editor\nName[de]=Texteditor\n"
        "Name[de_AT]=Texteditor AT\nExec=env FOO=1 \"/usr/bin/gedit\" %U\nStartupWMClass=Gedit\n"
        "[Desktop Action neu]\nName=New Window\nExec=other\n",
        "org.gnome.gedit");
    EXPECT_EQ(e.id, "org.gnome.gedit");
    EXPECT_EQ(e.name, "Text Editor");
    EXPECT_EQ(e.programm, "gedit");
    EXPECT_EQ(e.wmKlasse, "Gedit");
    EXPECT_EQ(lokalisierterName(e, {"de-AT"}), "Texteditor AT");
    EXPECT_EQ(lokalisierterName(e, {"de-DE"}), "Texteditor");
    EXPECT_EQ(lokalisierterName(e, {"fr", "de"}), "Texteditor");
    EXPECT_EQ(lokalisierterName(e, {"fr"}), "Text Editor");
}

TEST(Anwendungskatalog, FindetNachKlasseIdUndProgramm) {
    Anwendungskatalog k;
    k.setzeEintraege({liesDesktopEintrag("[Desktop Entry]\nName=Gedit\nExec=gedit\nStartupWMClass=Gedit\n", "org.gnome.gedit"),
                      liesDesktopEintrag("[Desktop Entry]\nName=XTerm\nExec=xterm\n", "xterm"),
                      liesDesktopEintrag("[Desktop Entry]\nName=Werkzeug\nExec=/opt/w/bin/werkzeug --x\n", "werkzeug-app")});
    EXPECT_EQ(k.finde({"gedit", "Gedit"}, "/usr/bin/gedit")->id, "org.gnome.gedit");
    EXPECT_EQ(k.finde({"xterm", "XTerm"}, "/usr/bin/xterm")->id, "xterm");
    EXPECT_EQ(k.finde({"w", "W"}, "/opt/w/bin/werkzeug")->id, "werkzeug-app");
    EXPECT_FALSE(k.finde({"andere", "Andere"}, "/usr/bin/andere").has_value());
}

// Programs run by one interpreter share its executable; the key must still tell them apart.
TEST(Anwendungskatalog, KennungNenntDasProgrammNichtDenInterpreter) {
    struct Fall {
        FensterKlasse klasse;
        std::string desktop;
        std::string programm;
        std::string erwartet;
    };
    const Fall faelle[] = {
        {{"chromium", "Chromium"}, "chromium", "chromium", "org.chromium.Chromium"},  // a browser first
        {{"gedit", "Gedit"}, "org.gnome.gedit", "gedit", "org.gnome.gedit"},            // then the desktop entry
        {{"notizen", "Notizen"}, "", "python3.11", "wmclass:notizen/Notizen"},            // then the window class
        {{"rechner", "Rechner"}, "", "python3.11", "wmclass:rechner/Rechner"},
        {{"sun-awt-X11-XFramePeer", "org-a-Haupt"}, "", "java", "wmclass:sun-awt-X11-XFramePeer/org-a-Haupt"},
        {{"", ""}, "", "python3.11", ""},  // nothing: the executable path serves
    };
    for (const auto& f : faelle)
        EXPECT_EQ(anwendungsKennung(f.klasse, f.desktop, f.programm), f.erwartet) << f.klasse.instanz;
}

TEST(Anwendungskatalog, EintragEinesInterpretersGiltNichtFuerJedesSeinerProgramme) {
    Anwendungskatalog k;
    k.setzeEintraege({liesDesktopEintrag("[Desktop Entry]\nName=Tagebuch\nExec=python3 /usr/share/tagebuch/tagebuch.py\n",
                                         "tagebuch"),
                      liesDesktopEintrag("[Desktop Entry]\nName=Spiel\nExec=java -jar /opt/spiel.jar %U\n", "spiel"),
                      liesDesktopEintrag("[Desktop Entry]\nName=Karte\nExec=karte --neu %U\n", "karte")});
    // Another python program or java program is not that entry's application…
    EXPECT_FALSE(k.finde({"notizen", "Notizen"}, "/usr/bin/python3").has_value());
    EXPECT_FALSE(k.finde({"rechner", "Rechner"}, "/usr/bin/java").has_value());
    // …but the entry's own window class still finds it, and a program started with
    // options alone is still found by its executable.
    EXPECT_EQ(k.finde({"tagebuch", "Tagebuch"}, "/usr/bin/python3")->id, "tagebuch");
    EXPECT_EQ(k.finde({"k", "K"}, "/usr/bin/karte")->id, "karte");
}

}  // namespace
}  // namespace klebwerk::linuxdesk
