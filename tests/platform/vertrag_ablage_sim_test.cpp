// The clipboard contract against the simulated desktop.

#include "platform/sim/sim_desktop.h"
#include "support/vertrag_ablage.h"

namespace klebwerk::test {
namespace {

class SimAblageDesktop : public AblageDesktop {
public:
    Zwischenablage& ablage() override { return d.ablage; }
    bool fremdKopiert(const AblageEintrag& e) override {
        d.ablage.kopiere({e});
        return true;
    }
    bool stummerBesitzer() override {
        d.ablage.kopiere({{{"UTF8_STRING", "unerreichbar"}}});
        d.ablage.lesedauer = 2.0;
        d.ablage.lesefehler = "der Besitzer der Zwischenablage antwortet nicht";
        return true;
    }
    bool leer() override {
        d.ablage.kopiere({});
        return true;
    }
    AblageEintrag fremdGelesen() override { return d.ablage.inhalt.empty() ? AblageEintrag{} : d.ablage.inhalt[0]; }
    void gleicheAb() override {}
    bool warte(const std::function<bool()>& bedingung) override {
        for (int i = 0; i < 100; ++i) {
            if (bedingung()) return true;
            d.uhr.vorwaerts(0.1);
        }
        return bedingung();
    }

private:
    sim::SimDesktop d;
};

std::unique_ptr<AblageDesktop> simAblage() { return std::make_unique<SimAblageDesktop>(); }

INSTANTIATE_TEST_SUITE_P(Sim, AblageVertrag, ::testing::Values(&simAblage));

}  // namespace
}  // namespace klebwerk::test
