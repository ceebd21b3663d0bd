#include <gtest/gtest.h>

#include "platform/sim/virtuelle_uhr.h"

namespace klebwerk {
namespace {

using sim::VirtuelleUhr;

TEST(VirtuelleUhr, FuehrtFaelligeArbeitInZeitfolgeAus) {
    VirtuelleUhr uhr;
    std::vector<std::string> folge;
    Marke a = uhr.nach(0.3, [&] { folge.push_back("a@" + std::to_string(uhr.jetzt()).substr(0, 3)); });
    Marke b = uhr.nach(0.1, [&] { folge.push_back("b@" + std::to_string(uhr.jetzt()).substr(0, 3)); });
    Marke c = uhr.nach(0.1, [&] { folge.push_back("c"); });  // same time: in order of scheduling
    uhr.aufHaupt([&] { folge.push_back("sofort"); });
    EXPECT_TRUE(folge.empty()) << "nothing runs inside the call that scheduled it";
    uhr.vorwaerts(0.2);
    EXPECT_EQ(folge, (std::vector<std::string>{"sofort", "b@0.1", "c"}));
    uhr.vorwaerts(0.2);
    EXPECT_EQ(folge.back(), "a@0.3");
    EXPECT_DOUBLE_EQ(uhr.jetzt(), 0.4);
}

TEST(VirtuelleUhr, ArbeitDieWaehrendDesVorlaufsFaelligWirdLaeuftMit) {
    VirtuelleUhr uhr;
    std::vector<double> zeiten;
    Marke kette;
    Marke erste = uhr.nach(0.1, [&] { kette = uhr.nach(0.2, [&] { zeiten.push_back(uhr.jetzt()); }); });
    uhr.vorwaerts(1.0);
    ASSERT_EQ(zeiten.size(), 1u);
    EXPECT_NEAR(zeiten[0], 0.3, 1e-9);
}

TEST(VirtuelleUhr, WiederholungLaeuftImTaktBisSieAufgehobenWird) {
    VirtuelleUhr uhr;
    int takte = 0;
    Marke uhrMarke;
    uhrMarke = uhr.wiederhole(0.4, [&] {
        if (++takte == 3) uhrMarke.aufheben();  // a timer may stop itself
    });
    uhr.vorwaerts(10);
    EXPECT_EQ(takte, 3);
    EXPECT_EQ(uhr.offen(), 0u);
}

TEST(VirtuelleUhr, FallengelasseneMarkeHebtDieArbeitAuf) {
    VirtuelleUhr uhr;
    bool gelaufen = false;
    { Marke m = uhr.nach(0.1, [&] { gelaufen = true; }); }
    uhr.vorwaerts(1);
    EXPECT_FALSE(gelaufen);
}

TEST(VirtuelleUhr, HintergrundketteHaeltDieSpurBisSieFertigIst) {
    VirtuelleUhr uhr;
    std::vector<std::string> folge;
    auto notiere = [&](std::string was) { folge.push_back(was + "@" + std::to_string(uhr.jetzt()).substr(0, 4)); };
    Marke erste = uhr.hintergrund([&] {
        notiere("a1");
        return Fortsetzung::danach(0.2, [&] {
            notiere("a2");
            return Fortsetzung::danach(0.03, [&] {
                notiere("a3");
                return Fortsetzung::fertig();
            });
        });
    });
    Marke zweite = uhr.hintergrund([&] {
        notiere("b");
        return Fortsetzung::fertig();
    });
    Marke haupt = uhr.nach(0.1, [&] { notiere("haupt"); });
    uhr.vorwaerts(1);
    EXPECT_EQ(folge, (std::vector<std::string>{"a1@0.00", "haupt@0.10", "a2@0.20", "a3@0.23", "b@0.23"}));
}

TEST(VirtuelleUhr, AufgehobeneKetteGibtDieSpurFrei) {
    VirtuelleUhr uhr;
    std::vector<std::string> folge;
    Marke erste = uhr.hintergrund([&] {
        folge.push_back("a1");
        return Fortsetzung::danach(0.5, [&] {
            folge.push_back("a2");
            return Fortsetzung::fertig();
        });
    });
    Marke zweite = uhr.hintergrund([&] {
        folge.push_back("b");
        return Fortsetzung::fertig();
    });
    uhr.laufeFaelliges();
    erste.aufheben();
    uhr.vorwaerts(1);
    EXPECT_EQ(folge, (std::vector<std::string>{"a1", "b"}));
}

TEST(VirtuelleUhr, WanduhrBeginntBeiDerEchtenZeit) {
    auto vorher = std::chrono::system_clock::now();
    VirtuelleUhr uhr;
    EXPECT_GE(uhr.wanduhr(), vorher);
    uhr.vorwaerts(6);
    EXPECT_GE(uhr.wanduhr() - vorher, std::chrono::seconds(6));
}

}  // namespace
}  // namespace klebwerk
