// The user's copies of the browsers' desktop entries that start them with their page
// accessibility, in real temporary folders as XDG_DATA_HOME and XDG_DATA_DIRS.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "platform/linux/chromium_zugang.h"

namespace klebwerk::linuxdesk {
namespace {

namespace fs = std::filesystem;

using Argumente = std::vector<std::string>;

TEST(ChromiumZugangExec, SchalterFolgtDemProgrammUndDieArgumenteBleiben) {
    struct Fall {
        std::string wert;        // as written in the file
        std::string erwartet;    // as it is written into the copy
        Argumente argumente;     // what the launcher then runs
    };
    const Fall faelle[] = {
        {"/usr/bin/chromium %U", "/usr/bin/chromium --force-renderer-accessibility %U",
         {"/usr/bin/chromium", "--force-renderer-accessibility", "%U"}},
        {"/usr/bin/google-chrome-stable", "/usr/bin/google-chrome-stable --force-renderer-accessibility",
         {"/usr/bin/google-chrome-stable", "--force-renderer-accessibility"}},
        {"/usr/bin/google-chrome-stable --incognito",
         "/usr/bin/google-chrome-stable --force-renderer-accessibility --incognito",
         {"/usr/bin/google-chrome-stable", "--force-renderer-accessibility", "--incognito"}},
        // A quoted program with a blank in its path.
        {"\"/opt/Mein Browser/chrome\" %U", "\"/opt/Mein Browser/chrome\" --force-renderer-accessibility %U",
         {"/opt/Mein Browser/chrome", "--force-renderer-accessibility", "%U"}},
        // Inside quotes \" and \$ stand for the character; the file doubles each backslash.
        {R"("/opt/a\\"b\\$c/chrome" --x="1 2" %U)", R"("/opt/a\\"b\\$c/chrome" --force-renderer-accessibility --x="1 2" %U)",
         {"/opt/a\"b$c/chrome", "--force-renderer-accessibility", "--x=1 2", "%U"}},
        // A backslash inside quotes takes four in the file.
        {R"("/opt/a\\\\b/chrome")", R"("/opt/a\\\\b/chrome" --force-renderer-accessibility)",
         {"/opt/a\\b/chrome", "--force-renderer-accessibility"}},
        // \s is a blank of the string value and separates arguments.
        {R"(/usr/bin/chromium\s%U)", R"(/usr/bin/chromium --force-renderer-accessibility\s%U)",
         {"/usr/bin/chromium", "--force-renderer-accessibility", "%U"}},
        // An environment in front: the switch is the browser's, not env's.
        {"env BAMF_DESKTOP_FILE_HINT=/x.desktop LANG=de_DE.UTF-8 /snap/bin/chromium %U",
         "env BAMF_DESKTOP_FILE_HINT=/x.desktop LANG=de_DE.UTF-8 /snap/bin/chromium --force-renderer-accessibility %U",
         {"env", "BAMF_DESKTOP_FILE_HINT=/x.desktop", "LANG=de_DE.UTF-8", "/snap/bin/chromium",
          "--force-renderer-accessibility", "%U"}},
        // Already there: nothing added.
        {"/usr/bin/chromium --force-renderer-accessibility %U", "/usr/bin/chromium --force-renderer-accessibility %U",
         {"/usr/bin/chromium", "--force-renderer-accessibility", "%U"}},
    };
    for (const auto& f : faelle) {
        auto neu = execMitSchalter(f.wert);
        ASSERT_TRUE(neu) << f.wert;
        EXPECT_EQ(*neu, f.erwartet) << f.wert;
        EXPECT_EQ(execArgumente(*neu), std::optional<Argumente>(f.argumente)) << *neu;
    }
}

TEST(ChromiumZugangExec, UnlesbarerWertBleibtUnlesbar) {
    for (const char* wert : {"", "   ", "\"/opt/offen %U", R"("/opt/a\\" %U)", "env A=1 B=2"})
        EXPECT_FALSE(execMitSchalter(wert)) << wert;
}

TEST(ChromiumZugangEintrag, MarkeNurAlsWahrInDerHauptgruppe) {
    struct Fall {
        std::string text;
        bool ours;
    };
    const Fall faelle[] = {
        {"[Desktop Entry]\nName=C\nX-Klebwerk-Zugang=true\nExec=c\n", true},
        {"[Desktop Entry]\nX-Klebwerk-Zugang = true \n", true},
        {"[Desktop Entry]\nX-Klebwerk-Zugang=false\n", false},
        {"[Desktop Entry]\nX-Klebwerk-Zugang-Alt=true\n", false},
        {"# X-Klebwerk-Zugang=true\n[Desktop Entry]\nExec=c\n", false},
        {"[Desktop Entry]\nExec=c\n[Desktop Action neu]\nX-Klebwerk-Zugang=true\n", false},
        {"", false},
    };
    for (const auto& f : faelle) EXPECT_EQ(traegtZugangsMarke(f.text), f.ours) << f.text;
}

const char* const systemChromium =
    "[Desktop Entry]\n"
    "Version=1.0\n"
    "Name=Chromium Web Browser\n"
    "Name[de]=Chromium-Webbrowser\n"
    "Exec=/usr/bin/chromium %U\n"
    "MimeType=text/html;x-scheme-handler/http;x-scheme-handler/https;\n"
    "Actions=neues-fenster;\n"
    "\n"
    "[Desktop Action neues-fenster]\n"
    "Name=New Window\n"
    "Exec = \"/usr/bin/chromium\" --new-window\n";

TEST(ChromiumZugangEintrag, KopieHatSchalterInJederExecZeileUndDieMarke) {
    auto kopie = eintragMitZugang(systemChromium);
    ASSERT_TRUE(kopie);
    EXPECT_TRUE(traegtZugangsMarke(*kopie));
    EXPECT_TRUE(startetMitSchalter(*kopie));
    EXPECT_FALSE(startetMitSchalter(systemChromium));
    // Every line of the system entry is there, the Exec lines with the switch.
    std::string erwartet = systemChromium;
    erwartet.replace(erwartet.find("[Desktop Entry]\n") + 16, 0, "X-Klebwerk-Zugang=true\n");
    erwartet.replace(erwartet.find("chromium %U"), 11, "chromium --force-renderer-accessibility %U");
    erwartet.replace(erwartet.find("\" --new-window"), 14, "\" --force-renderer-accessibility --new-window");
    EXPECT_EQ(kopie->substr(kopie->find("[Desktop Entry]")), erwartet);
    // A copy of a copy is the same copy.
    EXPECT_EQ(eintragMitZugang(*kopie), kopie);
}

TEST(ChromiumZugangEintrag, OhneHauptgruppeOderLesbareExecZeileKeineKopie) {
    for (const char* text : {"Exec=/usr/bin/chromium\n", "[Desktop Entry]\nName=C\n",
                             "[Desktop Entry]\nExec=/usr/bin/chromium\n[Desktop Action a]\nExec=\"/usr/bin/chromium\n"})
        EXPECT_FALSE(eintragMitZugang(text)) << text;
}

class ChromiumZugangTest : public ::testing::Test {
protected:
    void SetUp() override {
        char muster[] = "/tmp/klebwerk-chromium-zugang-XXXXXX";
        ASSERT_TRUE(mkdtemp(muster));
        wurzel = muster;
        for (const char* name : {"XDG_DATA_HOME", "XDG_DATA_DIRS"}) {
            const char* alt = std::getenv(name);
            alteWerte.emplace_back(name, alt ? std::optional<std::string>(alt) : std::nullopt);
        }
        setenv("XDG_DATA_HOME", (wurzel / "heim").c_str(), 1);
        setenv("XDG_DATA_DIRS", ((wurzel / "lokal").string() + ":" + (wurzel / "system").string()).c_str(), 1);
    }
    void TearDown() override {
        for (const auto& [name, wert] : alteWerte) {
            if (wert) setenv(name.c_str(), wert->c_str(), 1);
            else unsetenv(name.c_str());
        }
        fs::remove_all(wurzel);
    }
    void schreibe(const fs::path& p, const std::string& text) {
        fs::create_directories(p.parent_path());
        std::ofstream(p) << text;
    }
    static std::string lies(const fs::path& p) {
        std::ifstream d(p);
        std::stringstream s;
        s << d.rdbuf();
        return s.str();
    }
    fs::path system(const std::string& datei) { return wurzel / "system" / "applications" / datei; }
    fs::path eigen(const std::string& datei) { return wurzel / "heim" / "applications" / datei; }
    static std::vector<ZugangsStand> staende(const std::vector<ZugangsErgebnis>& e) {
        std::vector<ZugangsStand> s;
        for (const auto& x : e) s.push_back(x.stand);
        return s;
    }

    fs::path wurzel;
    std::vector<std::pair<std::string, std::optional<std::string>>> alteWerte;
};

using S = ZugangsStand;

TEST_F(ChromiumZugangTest, SchreibtKopieUndBeimZweitenMalNichtsNeues) {
    schreibe(system("chromium.desktop"), systemChromium);
    auto erstes = richteChromiumZugangEin();
    ASSERT_EQ(erstes.size(), 2u);
    EXPECT_EQ(staende(erstes), (std::vector<S>{S::eingerichtet, S::keinSystemEintrag})) << erstes[0].fehler;
    EXPECT_EQ(erstes[0].pfad, eigen("chromium.desktop").string());
    EXPECT_EQ(erstes[0].quelle, system("chromium.desktop").string());
    std::string kopie = lies(eigen("chromium.desktop"));
    EXPECT_EQ(std::optional<std::string>(kopie), eintragMitZugang(systemChromium));
    EXPECT_FALSE(fs::exists(eigen("google-chrome.desktop")));

    auto zweites = richteChromiumZugangEin();
    EXPECT_EQ(staende(zweites), (std::vector<S>{S::unveraendert, S::keinSystemEintrag}));
    EXPECT_EQ(lies(eigen("chromium.desktop")), kopie);

    // A changed system entry (an update of the package) renews the copy.
    std::string neu = std::string(systemChromium) + "Keywords=browser\n";
    schreibe(system("chromium.desktop"), neu);
    EXPECT_EQ(staende(richteChromiumZugangEin()), (std::vector<S>{S::eingerichtet, S::keinSystemEintrag}));
    EXPECT_EQ(std::optional<std::string>(lies(eigen("chromium.desktop"))), eintragMitZugang(neu));
}

TEST_F(ChromiumZugangTest, ErsterDatenordnerMitDemEintragGilt) {
    schreibe(system("google-chrome.desktop"), "[Desktop Entry]\nName=Unten\nExec=/usr/bin/google-chrome-stable %U\n");
    schreibe(wurzel / "lokal" / "applications" / "google-chrome.desktop",
             "[Desktop Entry]\nName=Oben\nExec=/opt/google/chrome/chrome %U\n");
    auto e = richteChromiumZugangEin();
    EXPECT_EQ(staende(e), (std::vector<S>{S::keinSystemEintrag, S::eingerichtet}));
    EXPECT_EQ(e[1].quelle, (wurzel / "lokal" / "applications" / "google-chrome.desktop").string());
    std::string kopie = lies(eigen("google-chrome.desktop"));
    EXPECT_NE(kopie.find("Name=Oben\nExec=/opt/google/chrome/chrome --force-renderer-accessibility %U\n"),
              std::string::npos)
        << kopie;
}

TEST_F(ChromiumZugangTest, EigenerEintragBleibtBeimEinrichtenUndEntfernen) {
    schreibe(system("chromium.desktop"), systemChromium);
    schreibe(system("google-chrome.desktop"), "[Desktop Entry]\nExec=/usr/bin/google-chrome-stable %U\n");
    const std::string ohne = "[Desktop Entry]\nName=Mein Chromium\nExec=/usr/bin/chromium --incognito %U\n";
    const std::string mit = "[Desktop Entry]\nName=Mein Chrome\nExec=/usr/bin/google-chrome-stable "
                            "--force-renderer-accessibility %U\n";
    schreibe(eigen("chromium.desktop"), ohne);
    schreibe(eigen("google-chrome.desktop"), mit);

    EXPECT_EQ(staende(richteChromiumZugangEin()), (std::vector<S>{S::eigenerEintrag, S::eigenerMitSchalter}));
    EXPECT_EQ(staende(entferneChromiumZugang()), (std::vector<S>{S::eigenerEintrag, S::eigenerMitSchalter}));
    EXPECT_EQ(lies(eigen("chromium.desktop")), ohne);
    EXPECT_EQ(lies(eigen("google-chrome.desktop")), mit);
}

TEST_F(ChromiumZugangTest, EntferntNurDieMarkiertenKopien) {
    schreibe(system("chromium.desktop"), systemChromium);
    schreibe(system("google-chrome.desktop"), "[Desktop Entry]\nExec=/usr/bin/google-chrome-stable %U\n");
    ASSERT_EQ(staende(richteChromiumZugangEin()), (std::vector<S>{S::eingerichtet, S::eingerichtet}));
    // The user replaces one copy with an entry of their own.
    const std::string eigenes = "[Desktop Entry]\nName=Chrome\nExec=/usr/bin/google-chrome-stable\n";
    schreibe(eigen("google-chrome.desktop"), eigenes);

    EXPECT_EQ(staende(entferneChromiumZugang()), (std::vector<S>{S::entfernt, S::eigenerEintrag}));
    EXPECT_FALSE(fs::exists(eigen("chromium.desktop")));
    EXPECT_EQ(lies(eigen("google-chrome.desktop")), eigenes);
    EXPECT_EQ(lies(system("chromium.desktop")), systemChromium);
    EXPECT_EQ(staende(entferneChromiumZugang()), (std::vector<S>{S::keinEintrag, S::eigenerEintrag}));
}

TEST_F(ChromiumZugangTest, OhneSystemEintragWirdNichtsGeschrieben) {
    auto e = richteChromiumZugangEin();
    EXPECT_EQ(staende(e), (std::vector<S>{S::keinSystemEintrag, S::keinSystemEintrag}));
    EXPECT_FALSE(fs::exists(wurzel / "heim" / "applications"));
}

TEST_F(ChromiumZugangTest, UnlesbareExecZeileSchreibtNichts) {
    schreibe(system("chromium.desktop"), "[Desktop Entry]\nExec=\"/usr/bin/chromium %U\n");
    auto e = richteChromiumZugangEin();
    EXPECT_EQ(e[0].stand, S::unverstaendlich);
    EXPECT_FALSE(fs::exists(eigen("chromium.desktop")));
}

TEST_F(ChromiumZugangTest, OrdnerNichtAnlegbarIstEinFehler) {
    schreibe(system("chromium.desktop"), systemChromium);
    // "applications" is a file where the folder should be.
    schreibe(wurzel / "heim" / "applications", "kein Ordner");
    auto e = richteChromiumZugangEin();
    ASSERT_EQ(e[0].stand, S::fehler);
    EXPECT_EQ(e[0].fehler.rfind((wurzel / "heim" / "applications").string() + ": ", 0), 0u) << e[0].fehler;
    EXPECT_EQ(lies(wurzel / "heim" / "applications"), "kein Ordner");
}

TEST_F(ChromiumZugangTest, UnlesbarerEintragIstEinFehlerNichtNichtsDa) {
    schreibe(system("chromium.desktop"), systemChromium);
    // A folder by the entry's name: there, but not readable as a file.
    fs::create_directories(eigen("chromium.desktop"));
    EXPECT_EQ(richteChromiumZugangEin()[0].stand, S::fehler);
    EXPECT_EQ(entferneChromiumZugang()[0].stand, S::fehler);
    EXPECT_TRUE(fs::is_directory(eigen("chromium.desktop")));
}

TEST_F(ChromiumZugangTest, DatenordnerOhneRelativeUndOhneDenEigenen) {
    setenv("XDG_DATA_DIRS", ("relativ:/usr/share/:" + (wurzel / "heim").string() + "/::/opt/x").c_str(), 1);
    EXPECT_EQ(systemDatenOrdner(), (std::vector<std::string>{"/usr/share", "/opt/x"}));
    setenv("XDG_DATA_DIRS", "", 1);
    EXPECT_EQ(systemDatenOrdner(), (std::vector<std::string>{"/usr/local/share", "/usr/share"}));
}

}  // namespace
}  // namespace klebwerk::linuxdesk
