#include <gtest/gtest.h>

#include <cstdlib>

#include "intake/intake_hilfe.h"
#include "platform/linux/linux_praeferenzen.h"

namespace klebwerk {
namespace {

namespace fs = std::filesystem;

// Runs with its own home and config folder and a chosen desktop.
class LinuxPraef : public ::testing::Test {
protected:
    test::TempOrdner heim;
    std::map<std::string, std::optional<std::string>> alt;
    void setze(const char* name, const std::string& wert) {
        if (!alt.count(name)) alt[name] = std::getenv(name) ? std::optional<std::string>(std::getenv(name)) : std::nullopt;
        ::setenv(name, wert.c_str(), 1);
    }
    void SetUp() override {
        setze("HOME", heim.pfad);
        setze("XDG_CONFIG_HOME", heim.pfad + "/.config");
        setze("LANG", "C");
        setze("XDG_CURRENT_DESKTOP", "");
        fs::create_directories(heim.pfad + "/.config");
    }
    void TearDown() override {
        for (auto& [n, w] : alt) w ? ::setenv(n.c_str(), w->c_str(), 1) : ::unsetenv(n.c_str());
    }
    void datei(const std::string& pfad, const std::string& inhalt) {
        fs::create_directories(fs::path(pfad).parent_path());
        std::ofstream(pfad) << inhalt;
    }
    Wert lies(const std::string& k) { return linuxdesk::LinuxPraeferenzen().lies("com.apple.screencapture", k); }
};

TEST_F(LinuxPraef, GnomeSpeichertInScreenshotsUnterDenBildern) {
    setze("XDG_CURRENT_DESKTOP", "ubuntu:GNOME");
    datei(heim.pfad + "/.config/user-dirs.dirs", "# comment\nXDG_PICTURES_DIR=\"$HOME/Bilder\"\nXDG_VIDEOS_DIR=\"/srv/filme/\"\n");
    EXPECT_EQ(lies("location"), Wert(heim.pfad + "/Bilder/Screenshots"));
    EXPECT_EQ(lies("location-screenshot"), Wert(heim.pfad + "/Bilder/Screenshots"));
    EXPECT_EQ(lies("location-screenrecording"), Wert(std::string("/srv/filme/Screencasts")));
    // A German folder that already exists is the one.
    fs::create_directories(heim.pfad + "/Bilder/Bildschirmfotos");
    EXPECT_EQ(lies("location"), Wert(heim.pfad + "/Bilder/Bildschirmfotos"));
}

TEST_F(LinuxPraef, KdeSpectacleNimmtSeinenSpeicherort) {
    setze("XDG_CURRENT_DESKTOP", "KDE");
    datei(heim.pfad + "/.config/spectaclerc",
          "[General]\nx=1\n\n[ImageSave]\nimageSaveLocation=file://" + heim.pfad +
              "/Meine%20Bilder/\n[VideoSave]\nvideoSaveLocation=file:///srv/v/\n");
    EXPECT_EQ(lies("location"), Wert(heim.pfad + "/Meine Bilder/"));
    EXPECT_EQ(lies("location-screenrecording"), Wert(std::string("/srv/v/")));
    fs::remove(heim.pfad + "/.config/spectaclerc");
    EXPECT_EQ(lies("location"), Wert(heim.pfad + "/Pictures/Screenshots"));
}

TEST_F(LinuxPraef, AndererDesktopKenntKeinenOrt) {
    EXPECT_TRUE(lies("location").fehlt());
    EXPECT_TRUE(lies("show-thumbnail").fehlt());
}

TEST_F(LinuxPraef, EigeneDateiGewinntUndNimmtJedesSchreibenAuf) {
    setze("XDG_CURRENT_DESKTOP", "GNOME");
    datei(heim.pfad + "/.config/de.quenmoral.klebwerk/praeferenzen.json",
          R"({"com.apple.screencapture": {"location": "~/Aufnahmen", "show-thumbnail": true}})");
    linuxdesk::LinuxPraeferenzen p;
    EXPECT_EQ(p.lies("com.apple.screencapture", "location"), Wert(std::string("~/Aufnahmen")));
    EXPECT_EQ(p.lies("com.apple.screencapture", "show-thumbnail"), Wert(true));
    EXPECT_EQ(p.lies("com.apple.screencapture", "location-screenshot"), Wert(heim.pfad + "/Pictures/Screenshots"));
    p.schreibe("com.apple.screencapture", "show-thumbnail", Wert(false));
    p.synchronisiere("com.apple.screencapture");
    EXPECT_EQ(linuxdesk::LinuxPraeferenzen().lies("com.apple.screencapture", "show-thumbnail"), Wert(false));
    p.schreibe("com.apple.screencapture", "show-thumbnail", Wert());
    EXPECT_TRUE(p.lies("com.apple.screencapture", "show-thumbnail").fehlt());
    EXPECT_EQ(p.lies("com.apple.screencapture", "location"), Wert(std::string("~/Aufnahmen")));
}

TEST(XdgBenutzerordner, LiestNurErlaubteWerte) {
    std::string inhalt = "XDG_PICTURES_DIR=\"relativ\"\nXDG_VIDEOS_DIR=\"$HOME\"\nXDG_DESKTOP_DIR=\"/abs/pfad\"\n";
    EXPECT_FALSE(linuxdesk::xdgBenutzerordner(inhalt, "PICTURES", "/h"));
    EXPECT_EQ(linuxdesk::xdgBenutzerordner(inhalt, "VIDEOS", "/h"), "/h");
    EXPECT_EQ(linuxdesk::xdgBenutzerordner(inhalt, "DESKTOP", "/h"), "/abs/pfad");
}

}  // namespace
}  // namespace klebwerk
