#pragma once

// The contract both accessibility backends keep: the same scenario (the chat window of
// support/szenario.h), built in the simulated desktop and as the real Qt window, answers
// alike. One test body; each backend instantiates it with its factory.

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "ax/ax.h"
#include "ax/letztes_element.h"
#include "ax/rollen.h"
#include "support/szenario.h"

namespace klebwerk::test {

// A desktop showing the chat window of the scenario, behind one backend.
class VertragsDesktop {
public:
    virtual ~VertragsDesktop() = default;
    virtual AX& ax() = 0;
    // The accessible window of the scenario, once it is there.
    virtual std::optional<Element> fenster() = 0;
};

using VertragsFabrik = std::unique_ptr<VertragsDesktop> (*)();

class Vertrag : public ::testing::TestWithParam<VertragsFabrik> {
protected:
    void SetUp() override {
        desktop = GetParam()();
        if (!desktop) GTEST_SKIP() << "backend not available here";
        auto f = desktop->fenster();
        ASSERT_TRUE(f) << "the scenario's window did not appear";
        fenster = *f;
    }
    AX& ax() { return desktop->ax(); }
    std::unique_ptr<VertragsDesktop> desktop;
    Element fenster;
};

inline Passt rolleAus(std::set<std::string> rollen) {
    return [rollen](const Element&, const std::optional<std::string>& r, const std::string&) {
        return r && rollen.count(*r);
    };
}

TEST_P(Vertrag, FensterRolleTitelUndNummer) {
    const SzFenster sz = chatFenster();
    EXPECT_EQ(ax().text(fenster, "AXRole"), "AXWindow");
    EXPECT_EQ(ax().text(fenster, "AXTitle"), sz.titel);
    EXPECT_TRUE(ax().fensterNummer(fenster).has_value());
}

TEST_P(Vertrag, KnoepfeInBesuchsordnungMitLabels) {
    std::vector<std::string> knoepfe;
    letztesElement(ax(), fenster, 400, [&](const Element& e, const auto& rolle, const std::string& label) {
        if (rolle && knopfRollen().count(*rolle)) knoepfe.push_back(*rolle + "|" + label + "|" + ax().beschriftung(e));
        return false;
    });
    EXPECT_EQ(knoepfe, (std::vector<std::string>{"AXButton|Vorlesen|Vorlesen", "AXButton|Diktat starten|Diktat starten",
                                                 "AXButton|Senden|Senden"}));
}

TEST_P(Vertrag, LetzteEingabeUndTextbereichMitUndOhneKandidaten) {
    for (bool kandidaten : {false, true}) {
        auto nur = [&](std::set<std::string> r) { return kandidaten ? std::optional(r) : std::nullopt; };
        auto feld = letztesElement(ax(), fenster, 6000, rolleAus({"AXTextArea", "AXTextField"}),
                                   nur({"AXTextArea", "AXTextField"}));
        ASSERT_TRUE(feld);
        EXPECT_EQ(ax().text(*feld, "AXRole"), "AXTextField");
        auto bereich = letztesElement(ax(), fenster, 6000, rolleAus({"AXTextArea"}), nur({"AXTextArea"}));
        ASSERT_TRUE(bereich);
        EXPECT_EQ(ax().element(*bereich, "AXWindow"), fenster);
        // A budget too small to reach it: nothing.
        EXPECT_FALSE(letztesElement(ax(), fenster, 1, rolleAus({"AXTextArea"}), nur({"AXTextArea"})));
    }
}

TEST_P(Vertrag, ElementAmPunktUndDruck) {
    auto rahmen = ax().rahmen(fenster);
    ASSERT_TRUE(rahmen);
    auto unter = ax().elementBei(ax().systemweit(), rahmen->mitte());
    ASSERT_TRUE(unter);
    EXPECT_EQ(ax().element(*unter, "AXWindow").value_or(*unter), fenster);
    auto senden = letztesElement(ax(), fenster, 400, [](const Element&, const auto& r, const std::string& l) {
        return r == "AXButton" && l == "Senden";
    });
    ASSERT_TRUE(senden);
    EXPECT_TRUE(ax().aktion(*senden, "AXPress"));
}

}  // namespace klebwerk::test
