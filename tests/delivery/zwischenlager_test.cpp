#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include <QTemporaryDir>
#include <sys/stat.h>
#include <sys/time.h>

#include "delivery/zwischenlager.h"
#include "support/sim_steuerung.h"

namespace klebwerk {
namespace {

namespace fs = std::filesystem;

void setzeAlter(const fs::path& p, std::chrono::system_clock::time_point jetzt, std::chrono::seconds alter) {
    auto zeit = std::chrono::system_clock::to_time_t(jetzt - alter);
    timeval t[2] = {{zeit, 0}, {zeit, 0}};
    ASSERT_EQ(::lutimes(p.c_str(), t), 0);
}

TEST(Zwischenlager, KopieErsetztEineFruehereGleichenNamensUndIstPrivat) {
    QTemporaryDir tmp;
    fs::path lager = fs::path(tmp.path().toStdString()) / "cache/de.quenmoral.klebwerk/Zugestellt";
    fs::path aufnahme = fs::path(tmp.path().toStdString()) / "Bildschirmfoto.png";
    std::ofstream(aufnahme) << "erste";
    auto kopie = legeKopieAn(lager, aufnahme);
    ASSERT_TRUE(kopie);
    EXPECT_EQ(*kopie, (lager / "Bildschirmfoto.png").string());
    std::ofstream(aufnahme) << "zweite";
    ASSERT_TRUE(legeKopieAn(lager, aufnahme));
    std::ifstream in(*kopie);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "zweite");
    struct stat st{};
    ASSERT_EQ(::stat(lager.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_FALSE(legeKopieAn(lager, fs::path(tmp.path().toStdString()) / "fehlt.png"));
}

TEST(Zwischenlager, AufraeumenEntferntNurWasAelterAlsEinTagIst) {
    QTemporaryDir tmp;
    fs::path lager = tmp.path().toStdString();
    auto jetzt = std::chrono::system_clock::now();
    std::ofstream(lager / "alt.png") << "x";
    std::ofstream(lager / "jung.png") << "x";
    fs::create_directory(lager / "alter Ordner");
    setzeAlter(lager / "alt.png", jetzt, std::chrono::hours(25));
    setzeAlter(lager / "jung.png", jetzt, std::chrono::hours(23));
    setzeAlter(lager / "alter Ordner", jetzt, std::chrono::hours(48));
    raeumeAuf(lager, jetzt);
    EXPECT_FALSE(fs::exists(lager / "alt.png"));
    EXPECT_FALSE(fs::exists(lager / "alter Ordner"));
    EXPECT_TRUE(fs::exists(lager / "jung.png"));
    raeumeAuf(lager / "gibt es nicht", jetzt);  // silent
}

TEST(Zwischenlager, SteuerungRaeumtBeimStartUndDannStuendlichAuf) {
    test::SimUmgebung u;
    fs::path lager = u.steuerung->zwischenlager;
    fs::create_directories(lager);
    auto jetzt = u.desktop.uhr.wanduhr();
    std::ofstream(lager / "25h.png") << "x";
    std::ofstream(lager / "23.5h.png") << "x";
    setzeAlter(lager / "25h.png", jetzt, std::chrono::hours(25));
    setzeAlter(lager / "23.5h.png", jetzt, std::chrono::minutes(23 * 60 + 30));
    u.starte();
    EXPECT_FALSE(fs::exists(lager / "25h.png"));
    EXPECT_TRUE(fs::exists(lager / "23.5h.png"));
    u.desktop.uhr.vorwaerts(3599);
    EXPECT_TRUE(fs::exists(lager / "23.5h.png"));
    u.desktop.uhr.vorwaerts(1);
    EXPECT_FALSE(fs::exists(lager / "23.5h.png"));
}

}  // namespace
}  // namespace klebwerk
