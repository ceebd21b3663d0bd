#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include "intake/intake_hilfe.h"
#include "platform/linux/inotify_ordnerereignisse.h"

namespace klebwerk {
namespace {

using Art = OrdnerEreignis::Art;
namespace fs = std::filesystem;

class Inotify : public ::testing::Test {
protected:
    test::TempOrdner tmp;
    linuxdesk::InotifyOrdnerereignisse ereignisse{false};
    std::vector<std::pair<Art, std::string>> gehoert;
    Marke beobachte(const std::string& o) {
        std::string fehler;
        Marke m = ereignisse.beobachte(o, [this](const OrdnerEreignis& e) { gehoert.emplace_back(e.art, e.name); }, fehler);
        EXPECT_TRUE(m.aktiv()) << fehler;
        return m;
    }
};

TEST_F(Inotify, MeldetJedenNamenMitDerArtSeinerAenderung) {
    Marke m = beobachte(tmp.pfad);
    int fd = ::open((tmp.pfad + "/a").c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_EQ(::write(fd, "x", 1), 1);
    ::close(fd);
    ::close(::open((tmp.pfad + "/../klebwerk-inotify-b").c_str(), O_WRONLY | O_CREAT, 0644));
    ::rename((tmp.pfad + "/../klebwerk-inotify-b").c_str(), (tmp.pfad + "/b").c_str());
    ::unlink((tmp.pfad + "/a").c_str());
    EXPECT_TRUE(gehoert.empty()) << "nothing inside the call that caused it";
    ereignisse.verarbeite();
    EXPECT_EQ(gehoert, (std::vector<std::pair<Art, std::string>>{
                           {Art::angelegt, "a"}, {Art::geschlossen, "a"}, {Art::hineinbewegt, "b"}, {Art::entfernt, "a"}}));
}

TEST_F(Inotify, FehlenderOrdnerGibtDenFehlertextDesSystems) {
    std::string fehler;
    Marke m = ereignisse.beobachte(tmp.pfad + "/fehlt", [](const OrdnerEreignis&) {}, fehler);
    EXPECT_FALSE(m.aktiv());
    EXPECT_EQ(fehler, "No such file or directory");
}

TEST_F(Inotify, GeloeschterOrdnerMeldetSichEinmalAlsVerschwunden) {
    fs::create_directory(tmp.pfad + "/x");
    Marke m = beobachte(tmp.pfad + "/x");
    fs::remove(tmp.pfad + "/x");
    ereignisse.verarbeite();
    ASSERT_FALSE(gehoert.empty());
    EXPECT_EQ(gehoert.back().first, Art::verschwunden);
    EXPECT_EQ(std::count_if(gehoert.begin(), gehoert.end(), [](auto& e) { return e.first == Art::verschwunden; }), 1);
    m.aufheben();  // dropping the token of a gone folder is harmless
}

TEST_F(Inotify, ZweiBeobachterDesselbenOrdnersUndAbmeldenImHandler) {
    Marke zweite;
    int erste = 0, andere = 0;
    std::string fehler;
    Marke m1 = ereignisse.beobachte(tmp.pfad, [&](const OrdnerEreignis&) {
        ++erste;
        zweite.aufheben();  // the other one hears nothing after this
    }, fehler);
    zweite = ereignisse.beobachte(tmp.pfad + "/", [&](const OrdnerEreignis&) { ++andere; }, fehler);
    ::close(::open((tmp.pfad + "/a").c_str(), O_WRONLY | O_CREAT, 0644));
    ereignisse.verarbeite();
    EXPECT_EQ(erste, 2);
    EXPECT_EQ(andere, 0);
    m1.aufheben();
    ::close(::open((tmp.pfad + "/b").c_str(), O_WRONLY | O_CREAT, 0644));
    ereignisse.verarbeite();
    EXPECT_EQ(erste, 2);
}

TEST_F(Inotify, UeberlaufErreichtJedenBeobachter) {
    std::ifstream grenze("/proc/sys/fs/inotify/max_queued_events");
    int hoechstens = 0;
    grenze >> hoechstens;
    if (hoechstens <= 0 || hoechstens > 40000) GTEST_SKIP() << "queue limit " << hoechstens;
    Marke m = beobachte(tmp.pfad);
    for (int i = 0; i < hoechstens / 2 + 10; ++i) {
        ::close(::open((tmp.pfad + "/" + std::to_string(i)).c_str(), O_WRONLY | O_CREAT, 0644));
    }
    ereignisse.verarbeite();
    EXPECT_TRUE(std::any_of(gehoert.begin(), gehoert.end(), [](auto& e) { return e.first == Art::ueberlauf; }));
}

}  // namespace
}  // namespace klebwerk
