#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

#include "intake/fangordner.h"
#include "platform/sim/sim_desktop.h"

namespace klebwerk {
namespace {

struct OrtFall {
    const char* was;
    std::map<std::string, Wert> werte;
    std::string ordner;
    std::vector<std::string> alleOrdner;
};

std::ostream& operator<<(std::ostream& o, const OrtFall& f) { return o << f.was; }

class Fangordnerwahl : public ::testing::TestWithParam<OrtFall> {};

TEST_P(Fangordnerwahl, FolgtDerRangfolgeDerSchluessel) {
    const OrtFall& f = GetParam();
    sim::SimPraeferenzen p;
    p.domaenen[bildschirmfotoDomaene] = f.werte;
    Fangordner ergebnis = bestimmeFangordner(p, "/home/anna");
    EXPECT_EQ(ergebnis.ordner, f.ordner);
    EXPECT_EQ(ergebnis.alleOrdner, f.alleOrdner);
}

INSTANTIATE_TEST_SUITE_P(
    Faelle, Fangordnerwahl,
    ::testing::Values(
        OrtFall{"keine Schlüssel", {}, "/home/anna/Desktop", {"/home/anna/Desktop"}},
        OrtFall{"Tilde", {{"location", "~/Pictures/Shots"}}, "/home/anna/Pictures/Shots", {"/home/anna/Pictures/Shots"}},
        OrtFall{"gleicher Ordner mit und ohne Schrägstrich",
                {{"location", "/home/anna/Bilder"}, {"location-screenshot", "/home/anna/Bilder/"}},
                "/home/anna/Bilder",
                {"/home/anna/Bilder"}},
        OrtFall{"Punkte werden aufgelöst",
                {{"location", "~/a/./b/../c"}, {"location-screenshot", "/home/anna/a/c"}},
                "/home/anna/a/c",
                {"/home/anna/a/c"}},
        OrtFall{"ohne location zählt location-screenshot",
                {{"location-screenshot", "/tmp/fotos"}, {"location-screenrecording", "/tmp/filme"}},
                "/tmp/fotos",
                {"/tmp/fotos", "/tmp/filme"}},
        OrtFall{"alle drei verschieden",
                {{"location", "/a"}, {"location-screenshot", "/b"}, {"location-screenrecording", "/c"}},
                "/a",
                {"/a", "/b", "/c"}},
        OrtFall{"Aufnahmen im Hauptordner",
                {{"location", "/a"}, {"location-screenrecording", "/a/"}},
                "/a",
                {"/a"}},
        OrtFall{"kein Text, leer oder relativ zählt nicht",
                {{"location", true}, {"location-screenshot", ""}, {"location-screenrecording", "Filme"}},
                "/home/anna/Desktop",
                {"/home/anna/Desktop"}},
        OrtFall{"unbekannter Nutzer bleibt wörtlich und ist relativ",
                {{"location", "~niemand-hier-xyz/Bilder"}},
                "/home/anna/Desktop",
                {"/home/anna/Desktop"}}));

TEST(Tilde, ErweitertAuchDenOrdnerEinesAnderenNutzers) {
    const passwd* pw = getpwuid(getuid());
    ASSERT_NE(pw, nullptr);
    std::string name = pw->pw_name;
    EXPECT_EQ(erweitereTilde("~" + name + "/x", "/h"), std::string(pw->pw_dir) + "/x");
    EXPECT_EQ(erweitereTilde("~", "/h"), "/h");
    EXPECT_EQ(erweitereTilde("/a/~/b", "/h"), "/a/~/b");
}

TEST(Standardisiere, LoestPunkteUndSchraegstricheAuf) {
    EXPECT_EQ(standardisiere("/a//b/"), "/a/b");
    EXPECT_EQ(standardisiere("/../a"), "/a");
    EXPECT_EQ(standardisiere("/"), "/");
    EXPECT_EQ(standardisiere("/a/b/../../.."), "/");
}

}  // namespace
}  // namespace klebwerk
