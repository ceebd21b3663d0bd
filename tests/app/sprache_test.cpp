#include <gtest/gtest.h>

#include "basis/prozesswerte.h"
#include "app/sprache.h"

namespace klebwerk {
namespace {

struct SprachFall {
    std::optional<std::string> sprache;
    std::vector<std::string> bevorzugt;
    bool englisch;
};

void PrintTo(const SprachFall& f, std::ostream* os) {
    *os << "sprache=" << f.sprache.value_or("(keine)") << " bevorzugt=" << ::testing::PrintToString(f.bevorzugt);
}

class SpracheRegel : public ::testing::TestWithParam<SprachFall> {};

TEST_P(SpracheRegel, WaehltDieSpracheDerOberflaeche) {
    const SprachFall& f = GetParam();
    EXPECT_EQ(englischAus(f.sprache, f.bevorzugt), f.englisch);
}

INSTANTIATE_TEST_SUITE_P(
    Faelle, SpracheRegel,
    ::testing::Values(SprachFall{std::nullopt, {"de-CH", "en-US"}, false},  //
                      SprachFall{std::nullopt, {"fr-FR"}, true},            //
                      SprachFall{std::nullopt, {}, false},                  //
                      SprachFall{std::nullopt, {"en-GB", "de-DE"}, true},   //
                      SprachFall{std::nullopt, {"de"}, false},              //
                      SprachFall{"de", {"en-US"}, false},                   //
                      SprachFall{"en", {"de-DE"}, true},                    //
                      SprachFall{"fr", {"en-US"}, false},                   // an unknown choice is German
                      SprachFall{"", {"en-US"}, false}));

TEST(L, GibtDenTextDerSpracheZurueckAuchWennErLeerIst) {
    setzeEnglisch(true);
    EXPECT_EQ(L("Hallo", ""), "");
    EXPECT_EQ(L("Hallo", "Hello"), "Hello");
    setzeEnglisch(false);
    EXPECT_EQ(L("Hallo", "Hello"), "Hallo");
    EXPECT_EQ(L("", "Hello"), "");
}

}  // namespace
}  // namespace klebwerk
