#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "basis/prozesswerte.h"
#include "support/sim_steuerung.h"

namespace klebwerk {
namespace {

TEST(KlaengeBefehl, SchreibtDieSiebenKlaengeInDenDatenordner) {
    test::SimUmgebung u;
    u.starte();
    u.steuerung->testBefehl("klaenge");

    const std::set<std::pair<std::string, size_t>> erwartet = {
        {"klang-klick.wav", 4454},           {"klang-an.wav", 44 + 2 * 3969},   {"klang-aus.wav", 44 + 2 * 3969},
        {"klang-zu.wav", 44 + 2 * 13671},    {"klang-auf.wav", 29150},          {"klang-aktivAn.wav", 44 + 2 * 9261},
        {"klang-aktivAus.wav", 44 + 2 * 10143},
    };
    std::set<std::pair<std::string, size_t>> gefunden;
    for (const auto& e : std::filesystem::directory_iterator(datenOrdner())) {
        const std::string name = e.path().filename().string();
        if (name.rfind("klang-", 0) == 0) gefunden.insert({name, static_cast<size_t>(e.file_size())});
    }
    EXPECT_EQ(gefunden, erwartet);
    // Writing the files plays nothing.
    EXPECT_TRUE(u.desktop.klang.gespielt.empty());
}

TEST(KlaengeBefehl, SteuerungSpieltUeberDenKlangspielerDerPlattform) {
    test::SimUmgebung u;
    u.starte();
    u.ud.setzeWahr("toene", false);
    u.steuerung->spiele(KlangArt::an);
    EXPECT_TRUE(u.desktop.klang.gespielt.empty());
    u.steuerung->spiele(KlangArt::an, true);
    ASSERT_EQ(u.desktop.klang.gespielt.size(), 1u);
    EXPECT_EQ(u.desktop.klang.gespielt[0], u.steuerung->klang.daten(KlangArt::an));
}

}  // namespace
}  // namespace klebwerk
