// The contract suite against the simulated desktop.

#include "platform/sim/sim_desktop.h"
#include "support/sim_szenario.h"
#include "support/vertrag.h"

namespace klebwerk::test {
namespace {

class SimVertragsDesktop : public VertragsDesktop {
public:
    SimVertragsDesktop() {
        starteApp(d, 30, "Chat");
        w = &baueFenster(d, 30, chatFenster());
        d.ax.kandidatenAbfrage = true;
    }
    AX& ax() override { return ax_; }
    std::optional<Element> fenster() override { return w->element(); }

private:
    sim::SimDesktop d;
    AX ax_{d.ax};
    sim::SimKnoten* w = nullptr;
};

std::unique_ptr<VertragsDesktop> simDesktop() { return std::make_unique<SimVertragsDesktop>(); }

INSTANTIATE_TEST_SUITE_P(Sim, Vertrag, ::testing::Values(&simDesktop));

}  // namespace
}  // namespace klebwerk::test
