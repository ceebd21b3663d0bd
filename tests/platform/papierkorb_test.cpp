// The freedesktop trash in real temporary folders.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/linux/papierkorb.h"

namespace klebwerk::linuxdesk {
namespace {

namespace fs = std::filesystem;

std::string lies(const fs::path& p) {
    std::ifstream d(p);
    std::stringstream s;
    s << d.rdbuf();
    return s.str();
}

class PapierkorbTest : public ::testing::Test {
protected:
    void SetUp() override {
        char muster[] = "/tmp/klebwerk-papierkorb-XXXXXX";
        ASSERT_TRUE(mkdtemp(muster));
        wurzel = muster;
        const char* alt = std::getenv("XDG_DATA_HOME");
        if (alt) altesDaten = alt;
        hatteDaten = alt != nullptr;
        setenv("XDG_DATA_HOME", (wurzel / "daten").c_str(), 1);
        fs::create_directories(wurzel / "Bilder mit Ä");
    }
    void TearDown() override {
        if (hatteDaten) setenv("XDG_DATA_HOME", altesDaten.c_str(), 1);
        else unsetenv("XDG_DATA_HOME");
        fs::remove_all(wurzel);
    }
    fs::path datei(const std::string& name, const std::string& inhalt) {
        fs::path p = wurzel / "Bilder mit Ä" / name;
        std::ofstream(p) << inhalt;
        return p;
    }
    fs::path wurzel;
    std::string altesDaten;
    bool hatteDaten = false;
};

TEST_F(PapierkorbTest, VerschiebtMitTrashinfo) {
    fs::path p = datei("Bild 1.png", "PNGDATEN");
    std::string fehler;
    std::time_t vorher = std::time(nullptr);
    ASSERT_TRUE(inDenPapierkorb(p.string(), fehler)) << fehler;
    EXPECT_FALSE(fs::exists(p));
    fs::path korb = wurzel / "daten" / "Trash";
    EXPECT_EQ(lies(korb / "files" / "Bild 1.png"), "PNGDATEN");
    std::string info = lies(korb / "info" / "Bild 1.png.trashinfo");
    std::string pfad = wurzel.string() + "/Bilder%20mit%20%C3%84/Bild%201.png";
    ASSERT_EQ(info.rfind("[Trash Info]\nPath=" + pfad + "\nDeletionDate=", 0), 0u) << info;
    // The deletion date is local time, to the second, and now.
    std::tm t{};
    std::string datum = info.substr(info.find("DeletionDate=") + 13, 19);
    ASSERT_TRUE(strptime(datum.c_str(), "%Y-%m-%dT%H:%M:%S", &t)) << datum;
    t.tm_isdst = -1;
    std::time_t geloescht = std::mktime(&t);
    EXPECT_GE(geloescht, vorher - 1);
    EXPECT_LE(geloescht, std::time(nullptr) + 1);
    EXPECT_EQ(info.back(), '\n');
}

TEST_F(PapierkorbTest, GleicherNameBekommtFreienNamen) {
    std::string fehler;
    for (const char* inhalt : {"eins", "zwei", "drei"}) {
        ASSERT_TRUE(inDenPapierkorb(datei("a.png", inhalt).string(), fehler)) << fehler;
    }
    fs::path korb = wurzel / "daten" / "Trash";
    EXPECT_EQ(lies(korb / "files" / "a.png"), "eins");
    EXPECT_EQ(lies(korb / "files" / "a.2.png"), "zwei");
    EXPECT_EQ(lies(korb / "files" / "a.3.png"), "drei");
    EXPECT_TRUE(fs::exists(korb / "info" / "a.3.png.trashinfo"));
}

TEST_F(PapierkorbTest, FehlendeDateiScheitertMitSystemtext) {
    std::string fehler;
    EXPECT_FALSE(inDenPapierkorb((wurzel / "fehlt.png").string(), fehler));
    EXPECT_EQ(fehler, std::strerror(ENOENT));
    // Nothing was left behind.
    fs::path info = wurzel / "daten" / "Trash" / "info";
    EXPECT_TRUE(!fs::exists(info) || fs::is_empty(info));
}

TEST(Papierkorb, NamenUndKodierung) {
    EXPECT_EQ(trashName("a.png", 1), "a.png");
    EXPECT_EQ(trashName("a.png", 2), "a.2.png");
    EXPECT_EQ(trashName("ohne", 3), "ohne.3");
    EXPECT_EQ(trashName(".versteckt", 2), ".versteckt.2");
    EXPECT_EQ(prozentKodiert("/a b/ü%#?.png"), "/a%20b/%C3%BC%25%23%3F.png");
    EXPECT_EQ(trashinfoText("rel/x.png", std::chrono::system_clock::from_time_t(0)).rfind("[Trash Info]\nPath=rel/x.png\nDeletionDate=", 0), 0u);
}

}  // namespace
}  // namespace klebwerk::linuxdesk
