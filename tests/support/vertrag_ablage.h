#pragma once

// The contract both clipboard backends keep: another application's item is saved with
// its types in order and byte for byte, written back alike, an empty clipboard reads
// as no items, and an owner that never answers fails the read instead of reading as
// empty. One test body; each backend instantiates it with its factory.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "delivery/ablage.h"
#include "platform/zwischenablage.h"

namespace klebwerk::test {

// A clipboard behind one backend, and another application beside it.
class AblageDesktop {
public:
    virtual ~AblageDesktop() = default;
    virtual Zwischenablage& ablage() = 0;
    // Another application copies one item with these types, in this order.
    virtual bool fremdKopiert(const AblageEintrag& e) = 0;
    // Another application owns the clipboard and never answers.
    virtual bool stummerBesitzer() = 0;
    // Nobody owns the clipboard.
    virtual bool leer() = 0;
    // What another application reads: the offered types in order, with their bytes.
    virtual AblageEintrag fremdGelesen() = 0;
    // Runs the main thread until `bedingung` holds; false when it never does.
    virtual bool warte(const std::function<bool()>& bedingung) = 0;
    // Until every notification the window system has sent so far is handled.
    virtual void gleicheAb() = 0;
};

using AblageFabrik = std::unique_ptr<AblageDesktop> (*)();

class AblageVertrag : public ::testing::TestWithParam<AblageFabrik> {
protected:
    void SetUp() override {
        desktop = GetParam()();
        if (!desktop) GTEST_SKIP() << "backend not available here";
    }
    // A read through the run loop, as a delivery makes it.
    std::optional<AblageLesung> lies() {
        std::optional<AblageLesung> ergebnis;
        Marke m = sichere(desktop->ablage(), [&](AblageLesung l) { ergebnis = std::move(l); });
        EXPECT_FALSE(ergebnis) << "the result never comes inside the call";
        desktop->warte([&] { return ergebnis.has_value(); });
        return ergebnis;
    }
    std::unique_ptr<AblageDesktop> desktop;
};

TEST_P(AblageVertrag, SichernSchreibenUndWiederherstellenByteFuerByteInReihenfolge) {
    Zwischenablage& ablage = desktop->ablage();
    // An order no sorting gives, and bytes beyond text.
    const AblageEintrag nutzer{{"text/html", "<b>Grüße</b>"}, {"UTF8_STRING", "Grüße"},
                               {"application/x-klebwerk-probe", "\x01\x7f\xff\xfe"}};
    const auto vorher = ablage.aenderungen();
    ASSERT_TRUE(desktop->fremdKopiert(nutzer));
    ASSERT_TRUE(desktop->warte([&] { return ablage.aenderungen() > vorher; })) << "another's copy is counted";

    auto gesichert = lies();
    ASSERT_TRUE(gesichert && gesichert->gelesen()) << (gesichert ? gesichert->fehler.value_or("") : "no result");
    ASSERT_EQ(gesichert->eintraege.size(), 1u);
    EXPECT_EQ(gesichert->eintraege[0], nutzer);

    // Our own write: counted at once, and once.
    const auto vorDemSchreiben = ablage.aenderungen();
    const AblageEintrag aufnahme{{ablagetyp::dateiUrl, "file:///tmp/a.png\r\n"}, {ablagetyp::png, "\x89PNG-Daten"}};
    ASSERT_TRUE(ablage.schreibe({aufnahme}));
    EXPECT_EQ(ablage.aenderungen(), vorDemSchreiben + 1);
    EXPECT_EQ(desktop->fremdGelesen(), aufnahme);
    desktop->gleicheAb();
    EXPECT_EQ(ablage.aenderungen(), vorDemSchreiben + 1) << "our own write is not counted twice";

    stelleHer(ablage, gesichert->eintraege);
    EXPECT_EQ(desktop->fremdGelesen(), nutzer) << "the same types in the same order, the same bytes";
}

TEST_P(AblageVertrag, LeereAblageIstGelesenOhneEintraege) {
    ASSERT_TRUE(desktop->leer());
    auto l = lies();
    ASSERT_TRUE(l);
    EXPECT_TRUE(l->gelesen()) << l->fehler.value_or("");
    EXPECT_TRUE(l->eintraege.empty());
}

TEST_P(AblageVertrag, StummerBesitzerIstEinFehlschlagKeinLeeresErgebnis) {
    ASSERT_TRUE(desktop->stummerBesitzer());
    auto l = lies();
    ASSERT_TRUE(l) << "a silent owner ends the read";
    EXPECT_FALSE(l->gelesen());
    EXPECT_FALSE(l->fehler.value_or("").empty()) << "the failure names its reason";
}

}  // namespace klebwerk::test
