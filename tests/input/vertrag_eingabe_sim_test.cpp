// The input contract against the simulated desktop, set up as a desktop whose paste
// shortcut is Ctrl+V.

#include "platform/sim/sim_desktop.h"
#include "support/sim_szenario.h"
#include "support/vertrag_eingabe.h"

namespace klebwerk::test {
namespace {

class SimEingabeDesktop : public EingabeDesktop {
public:
    SimEingabeDesktop() {
        starteApp(d, 30, "Chat");
        fenster = &baueFenster(d, 30, chatFenster());
        d.arbeitsplatz.vorne = 30;
        d.eingabe.befehlAls = flagge::control;
    }
    bool bereit() override { return true; }
    Eingabe& eingabe() override { return d.eingabe; }
    Ereignisabgriff& abgriff() override { return d.abgriff; }
    Planer planer() override {
        return [this](double s, std::function<void()> f) { marken.push_back(d.uhr.nach(s, std::move(f))); };
    }
    void halte(std::uint64_t flaggen) override { d.eingabe.gehalten |= flaggen; }
    void lasseLos() override { d.eingabe.gehalten = 0; }
    void bewege(Punkt wo) override {
        d.eingabe.zeigerPosition = wo;
        d.abgriff.simuliere({EreignisArt::mausBewegt, 0, 0, wo});
    }
    std::vector<std::pair<std::uint16_t, std::uint64_t>> tasten() override {
        std::vector<std::pair<std::uint16_t, std::uint64_t>> t;
        for (const auto& g : d.eingabe.gepostet)
            if (g.art == "taste" && !g.genommen) t.emplace_back(g.code, g.gesehen);
        return t;
    }
    std::vector<int> klicks() override {
        std::vector<int> k;
        for (const auto& g : d.eingabe.gepostet)
            if (g.art == "maus" && g.runter && !g.genommen) k.push_back(g.code);
        return k;
    }
    Punkt mitte() override { return chatFenster().rahmen.mitte(); }
    bool warte(const std::function<bool()>& bedingung) override {
        for (int i = 0; i < 1000; ++i) {
            if (bedingung()) return true;
            d.uhr.vorwaerts(0.01);
        }
        return bedingung();
    }

private:
    sim::SimDesktop d;
    sim::SimKnoten* fenster = nullptr;
    std::vector<Marke> marken;
};

std::unique_ptr<EingabeDesktop> simDesktop() { return std::make_unique<SimEingabeDesktop>(); }

INSTANTIATE_TEST_SUITE_P(Sim, VertragEingabe, ::testing::Values(&simDesktop), [](const auto&) { return "sim"; });

}  // namespace
}  // namespace klebwerk::test
