// The tree search: its pure cost over a simulated tree of 60,000 elements, and over
// AT-SPI against Chromium showing a generated page of 4,000 elements (run inside the
// private desktop session; skipped without one), beside the walk with its reads ahead and
// the naive walk that sends one request at a time.

#include <benchmark/benchmark.h>

#include "ax/ax.h"
#include "ax/letztes_element.h"
#include "chromium_seite.h"
#include "platform/sim/sim_desktop.h"

using namespace klebwerk;
using bench::chromiumSeite;
using bench::knopfMit;

namespace {

Passt textbereich() {
    return [](const Element&, const std::optional<std::string>& r, const std::string&) { return r == "AXTextArea"; };
}

// 20,000 blocks of a group, a button and a text: 60,001 elements with the window.
struct SimBaum {
    sim::SimDesktop d;
    AX ax{d.ax};
    Element fenster;
    SimBaum() {
        d.starteAnwendung(Anwendung{50, "", "/usr/bin/x", "X", Aktivierungsart::regulaer});
        auto& w = d.oeffneFenster(50, "Baum", {0, 0, 100, 100});
        for (int i = 0; i < 20000; ++i) {
            auto& g = w.kind("AXGroup");
            g.kind("AXButton", {{"AXTitle", "Knopf " + std::to_string(i)}});
            g.kind("AXStaticText", {{"AXValue", "Text"}});
        }
        fenster = w.element();
    }
};

void BM_SimDurchsuchtSechzigtausend(benchmark::State& state) {
    static SimBaum baum;
    for (auto _ : state) {
        auto e = letztesElement(baum.ax, baum.fenster, 60000, knopfMit("Knopf 0"));
        benchmark::DoNotOptimize(e);
    }
}
BENCHMARK(BM_SimDurchsuchtSechzigtausend)->Unit(benchmark::kMillisecond);

// --- AT-SPI against Chromium

// The search three ways: with the candidate query, as the walk with its reads ahead,
// and as the naive walk that sends one request at a time and waits for each answer.
enum class Weg { abfrage, baumlauf, einzeln };

void sucheMit(benchmark::State& state, Weg weg, long grenze, const Passt& passt, const std::set<std::string>& rollen) {
    auto& s = chromiumSeite();
    if (!s.web) {
        state.SkipWithError("no Chromium page on the accessibility bus");
        return;
    }
    s.zg->einzeln = weg == Weg::einzeln;
    for (auto _ : state) {
        auto e = weg == Weg::abfrage    ? letztesElement(*s.ax, *s.web, grenze, passt, rollen)
                 : weg == Weg::baumlauf ? letztesElement(*s.ax, *s.web, grenze, passt)
                                        : letztesElementSchlicht(*s.ax, *s.web, grenze, passt);
        if (!e) state.SkipWithError("not found");
    }
    s.zg->einzeln = false;
}

void BM_ChromiumKnopf(benchmark::State& state, Weg weg) { sucheMit(state, weg, 60000, knopfMit("Knopf 0"), {"AXButton"}); }
void BM_ChromiumTextbereich(benchmark::State& state, Weg weg) { sucheMit(state, weg, 8000, textbereich(), {"AXTextArea"}); }

BENCHMARK_CAPTURE(BM_ChromiumKnopf, letztesElement, Weg::abfrage)->Name("Chromium/KnopfKnopf0/letztesElement")->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(BM_ChromiumKnopf, baumlauf, Weg::baumlauf)->Name("Chromium/KnopfKnopf0/Baumlauf")->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_CAPTURE(BM_ChromiumKnopf, einzeln, Weg::einzeln)->Name("Chromium/KnopfKnopf0/einzeln")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_ChromiumTextbereich, letztesElement, Weg::abfrage)->Name("Chromium/Textbereich/letztesElement")->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(BM_ChromiumTextbereich, baumlauf, Weg::baumlauf)->Name("Chromium/Textbereich/Baumlauf")->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_CAPTURE(BM_ChromiumTextbereich, einzeln, Weg::einzeln)->Name("Chromium/Textbereich/einzeln")->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
