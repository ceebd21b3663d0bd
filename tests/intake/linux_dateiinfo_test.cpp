// The Linux folder listing on real temporary folders: every entry once with its kind,
// also when one vector is listed into again and again.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <map>

#include <fcntl.h>
#include <unistd.h>

#include "intake/intake_hilfe.h"
#include "platform/linux/linux_dateiinfo.h"

namespace klebwerk {
namespace {

namespace fs = std::filesystem;

void beruehre(const std::string& pfad) { ::close(::open(pfad.c_str(), O_WRONLY | O_CREAT, 0644)); }

struct Art {
    bool regulaer, ordner, verweis;
    bool operator==(const Art&) const = default;
};

std::map<std::string, Art> alsKarte(const std::vector<DateiEintrag>& e) {
    std::map<std::string, Art> k;
    for (const auto& x : e) EXPECT_TRUE(k.emplace(x.name, Art{x.regulaer, x.ordner, x.verweis}).second) << x.name;
    return k;
}

class LinuxListe : public ::testing::Test {
protected:
    test::TempOrdner tmp;
    linuxdesk::LinuxDateiinfo dateien;
    std::vector<DateiEintrag> eintraege;
    std::string fehler;
};

TEST_F(LinuxListe, NenntJedenEintragEinmalMitSeinerArtUndOhnePunktEintraege) {
    beruehre(tmp.pfad + "/Screenshot a.png");
    beruehre(tmp.pfad + "/.versteckt");
    beruehre(tmp.pfad + "/Zeile\nneu \xff.png");
    fs::create_directory(tmp.pfad + "/unter");
    fs::create_symlink(tmp.pfad + "/unter", tmp.pfad + "/verweis");
    ASSERT_TRUE(dateien.liste(tmp.pfad, eintraege, fehler)) << fehler;
    std::map<std::string, Art> erwartet{{"Screenshot a.png", {true, false, false}},
                                        {".versteckt", {true, false, false}},
                                        {"Zeile\nneu \xff.png", {true, false, false}},
                                        {"unter", {false, true, false}},
                                        {"verweis", {false, false, true}}};
    EXPECT_EQ(alsKarte(eintraege), erwartet);
}

TEST_F(LinuxListe, WiederholteListenInDenselbenVektorFolgenDemOrdner) {
    // Long names: the big listing takes more than one directory read.
    auto name = [](int i) { return std::string(100, 'n') + " " + std::to_string(i) + ".png"; };
    const int viele = 3000;
    for (int i = 0; i < viele; ++i) beruehre(tmp.pfad + "/" + name(i));
    for (int runde = 0; runde < 2; ++runde) {
        ASSERT_TRUE(dateien.liste(tmp.pfad, eintraege, fehler)) << fehler;
        EXPECT_EQ(alsKarte(eintraege).size(), static_cast<size_t>(viele));
    }
    // Shrinks: nothing of the longer listing stays behind.
    for (int i = 3; i < viele; ++i) fs::remove(tmp.pfad + "/" + name(i));
    fs::create_directory(tmp.pfad + "/x");
    ASSERT_TRUE(dateien.liste(tmp.pfad, eintraege, fehler)) << fehler;
    std::map<std::string, Art> erwartet{{name(0), {true, false, false}},
                                        {name(1), {true, false, false}},
                                        {name(2), {true, false, false}},
                                        {"x", {false, true, false}}};
    EXPECT_EQ(alsKarte(eintraege), erwartet);
}

TEST_F(LinuxListe, NichtLesbarGibtDenFehlerDesSystemsUndKeineEintraege) {
    beruehre(tmp.pfad + "/datei");
    ASSERT_TRUE(dateien.liste(tmp.pfad, eintraege, fehler));
    ASSERT_FALSE(eintraege.empty());
    const std::pair<std::string, std::string> faelle[] = {{tmp.pfad + "/fehlt", std::strerror(ENOENT)},
                                                          {tmp.pfad + "/datei", std::strerror(ENOTDIR)}};
    for (const auto& [pfad, text] : faelle) {
        fehler.clear();
        EXPECT_FALSE(dateien.liste(pfad, eintraege, fehler)) << pfad;
        EXPECT_EQ(fehler, text) << pfad;
        EXPECT_TRUE(eintraege.empty()) << pfad;
    }
}

}  // namespace
}  // namespace klebwerk
