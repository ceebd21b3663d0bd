#include <gtest/gtest.h>

#include <random>

#include "ax/letztes_element.h"
#include "platform/sim/sim_desktop.h"
#include "support/sim_szenario.h"

namespace klebwerk {
namespace {

// A tree written as text: "name(child child …)"; every element's title is its name.
sim::SimKnoten& baueBaum(sim::SimKnoten& eltern, const std::string& text, size_t& pos) {
    std::string name;
    while (pos < text.size() && std::isalnum(static_cast<unsigned char>(text[pos]))) name += text[pos++];
    sim::SimKnoten& k = eltern.kind(name.rfind("B", 0) == 0 ? "AXButton" : "AXGroup", {{"AXTitle", name}});
    if (pos < text.size() && text[pos] == '(') {
        ++pos;
        while (text[pos] != ')') {
            if (text[pos] == ' ') {
                ++pos;
                continue;
            }
            baueBaum(k, text, pos);
        }
        ++pos;
    }
    return k;
}

class Suche : public ::testing::Test {
protected:
    sim::SimDesktop d;
    AX ax{d.ax};
    sim::SimKnoten& app = test::starteApp(d, 20, "Baum");
    sim::SimKnoten& fenster = d.oeffneFenster(20, "Baum", {0, 0, 100, 100});

    Element baue(const std::string& text) {
        size_t pos = 0;
        return baueBaum(fenster, text, pos).element();
    }
    // The names in the order the search visits them, up to the limit.
    std::vector<std::string> besucht(const Element& wurzel, long grenze, std::optional<Element>* ergebnis = nullptr) {
        std::vector<std::string> namen;
        auto e = letztesElement(ax, wurzel, grenze, [&](const Element&, const auto&, const std::string& label) {
            namen.push_back(label);
            return false;
        });
        if (ergebnis) *ergebnis = e;
        return namen;
    }
};

TEST_F(Suche, BesuchtJedesElementVorSeinenNachfahrenUndGeschwisterVonHintenNachVorn) {
    Element r = baue("R(A(A1 A2) B(B1(X Y) B2) C)");
    EXPECT_EQ(besucht(r, 100), (std::vector<std::string>{"R", "C", "B", "B2", "B1", "Y", "X", "A", "A2", "A1"}));
}

struct BudgetFall {
    long grenze;
    size_t besucht;
};
class SucheBudget : public Suche, public ::testing::WithParamInterface<BudgetFall> {};

TEST_P(SucheBudget, PrueftHoechstensGrenzeElemente) {
    Element r = baue("R(A(A1 A2) B(B1(X Y) B2) C)");
    std::int64_t vorher = d.ax.anfragen;
    auto namen = besucht(r, GetParam().grenze);
    EXPECT_EQ(namen.size(), GetParam().besucht);
    if (GetParam().grenze <= 0) EXPECT_EQ(d.ax.anfragen, vorher);  // not one attribute read
}

INSTANTIATE_TEST_SUITE_P(Faelle, SucheBudget,
                         ::testing::Values(BudgetFall{-5, 0}, BudgetFall{0, 0}, BudgetFall{1, 1}, BudgetFall{4, 4},
                                           BudgetFall{10, 10}, BudgetFall{11, 10}, BudgetFall{60000, 10}));

struct TrefferFall {
    std::string baum;
    std::vector<std::string> passend;
    long grenze;
    std::string erwartet;  // "" : none
};
class SucheTreffer : public Suche, public ::testing::WithParamInterface<TrefferFall> {};

TEST_P(SucheTreffer, GibtDasErsteElementDerBesuchsordnung) {
    const TrefferFall& f = GetParam();
    Element r = baue(f.baum);
    auto passt = [&](const Element&, const std::optional<std::string>&, const std::string& label) {
        return std::find(f.passend.begin(), f.passend.end(), label) != f.passend.end();
    };
    for (bool kandidaten : {false, true}) {
        d.ax.kandidatenAbfrage = kandidaten;
        auto e = letztesElement(ax, r, f.grenze, passt, std::set<std::string>{"AXButton", "AXGroup"});
        EXPECT_EQ(e ? ax.text(*e, "AXTitle").value_or("?") : "", f.erwartet) << "Kandidatenabfrage " << kandidaten;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faelle, SucheTreffer,
    ::testing::Values(TrefferFall{"R(A B)", {"A", "B"}, 100, "B"},           // the later sibling
                      TrefferFall{"R(A B)", {"R", "A", "B"}, 100, "R"},      // the root itself
                      TrefferFall{"R(A(X) B)", {"A", "X"}, 100, "A"},        // an ancestor before its descendant
                      TrefferFall{"R(A(X) B(Y))", {"X", "B"}, 100, "B"},
                      TrefferFall{"R(A(X) B(Y))", {"X"}, 100, "X"},
                      TrefferFall{"R(A(X) B(Y Z))", {"X"}, 5, ""},           // X is the sixth element visited
                      TrefferFall{"R(A(X) B(Y Z))", {"X"}, 6, "X"},
                      TrefferFall{"R(A(X) B(Y Z))", {"Q"}, 100, ""}));

TEST_F(Suche, DasLabelIstDieBeschreibungSonstDerTitelOhneHilfe) {
    auto& a = fenster.kind("AXButton", {{"AXDescription", "  Mikro "}, {"AXTitle", "T"}});
    auto& b = fenster.kind("AXButton", {{"AXDescription", " "}, {"AXTitle", " Titel\n"}});
    auto& c = fenster.kind("AXButton", {{"AXHelp", "Hilfe"}});
    std::map<std::string, std::string> gesehen;
    letztesElement(ax, fenster.element(), 100, [&](const Element& e, const auto& rolle, const std::string& label) {
        gesehen[e.pfad] = label;
        return false;
    });
    EXPECT_EQ(gesehen[a.element().pfad], "Mikro");
    EXPECT_EQ(gesehen[b.element().pfad], "Titel");
    EXPECT_EQ(gesehen[c.element().pfad], "");
}

// The candidate query must give exactly the walk's result, for any tree, predicate and
// budget: with one role (read from the query, not from the element), with several
// (matching ancestors win), with dead elements in the tree, and with elements the walk
// cannot pass (children that do not read, as below a hidden element) or cannot match
// (a role that does not read) while the query still lists them and what is below.
TEST_F(Suche, KandidatenabfrageUndBaumlaufStimmenImmerUeberein) {
    std::mt19937 zufall(7);
    for (int runde = 0; runde < 600; ++runde) {
        sim::SimKnoten& wurzel = fenster.kind("AXGroup", {{"AXTitle", "w"}});
        std::vector<sim::SimKnoten*> alle{&wurzel};
        int n = 1 + static_cast<int>(zufall() % 40);
        for (int i = 0; i < n; ++i) {
            sim::SimKnoten* eltern = alle[zufall() % alle.size()];
            bool knopf = zufall() % 3 == 0;
            alle.push_back(&eltern->kind(knopf ? "AXButton" : "AXGroup",
                                         {{"AXTitle", std::string(zufall() % 2 ? "ja" : "nein")}}));
        }
        if (zufall() % 4 == 0) alle[1 + zufall() % n]->sterbe();
        if (zufall() % 3 == 0) alle[1 + zufall() % n]->fehlerhaft.insert(zufall() % 2 ? "AXChildren" : "AXRole");
        long grenze = static_cast<long>(zufall() % (n + 3));
        const bool gruppen = runde % 2 == 1;
        const std::set<std::string> rollen = gruppen ? std::set<std::string>{"AXButton", "AXGroup"}
                                                     : std::set<std::string>{"AXButton"};
        Passt passt = [&](const Element&, const std::optional<std::string>& rolle, const std::string& label) {
            return rolle && rollen.count(*rolle) && label == "ja";
        };
        d.ax.kandidatenAbfrage = false;
        auto gelaufen = letztesElement(ax, wurzel.element(), grenze, passt, rollen);
        auto schlicht = letztesElementSchlicht(ax, wurzel.element(), grenze, passt);
        d.ax.kandidatenAbfrage = true;
        auto abgefragt = letztesElement(ax, wurzel.element(), grenze, passt, rollen);
        ASSERT_EQ(gelaufen, schlicht) << "Runde " << runde;
        ASSERT_EQ(gelaufen, abgefragt) << "Runde " << runde;
    }
}

// The count behind the budget proof: elements after one in document order, its own
// descendants included, capped.
TEST_F(Suche, ElementeNachZaehltBisZurGrenze) {
    d.ax.kandidatenAbfrage = true;
    Element r = baue("R(A(A1 A2) B(B1(X Y) B2) C)");
    auto element = [&](const std::string& name) {
        return *letztesElement(ax, r, 100, [&](const Element&, const auto&, const std::string& l) { return l == name; });
    };
    struct Fall {
        std::string name;
        size_t hoechstens, erwartet;
    };
    for (const Fall& f : {Fall{"C", 100, 0}, Fall{"B1", 100, 4}, Fall{"A", 100, 8}, Fall{"A1", 100, 7},
                          Fall{"A1", 7, 7}, Fall{"A1", 3, 3}}) {
        EXPECT_EQ(d.ax.elementeNach(r, element(f.name), f.hoechstens, 1.0), f.erwartet) << f.name;
    }
}

}  // namespace
}  // namespace klebwerk
