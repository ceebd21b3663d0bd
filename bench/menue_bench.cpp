// Building the status menu with 10 connected targets among 50 windows on the simulated
// desktop (the menu is built afresh every time it opens).
//   build/bench/klebwerk_bench --benchmark_filter=Menue

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include <QApplication>

#include "qt_anwendung.h"

#include "app/einstellungen.h"
#include "app/steuerung.h"
#include "menubar/menue.h"
#include "platform/sim/sim_desktop.h"
#include "support/temp_heim.h"

using namespace klebwerk;

namespace {

void MenueMitZehnZielenUndFuenfzigFenstern(benchmark::State& state) {
    bench::sorgeFuerQt();
    test::TempHeim heim;
    sim::SimDesktop desktop;
    Plattform plattform = desktop.plattform();
    Einstellungen ud(einstellungsDatei());
    Steuerung s(plattform, ud);
    std::vector<std::pair<sim::SimKnoten*, int>> fenster;
    for (int a = 0; a < 10; ++a) {
        const int pid = 1000 + a;
        auto& wurzel = desktop.starteAnwendung({pid, "com.example.app" + std::to_string(a), "/usr/bin/app",
                                                "App " + std::to_string(a), Aktivierungsart::regulaer});
        (void)wurzel;
        for (int f = 0; f < 5; ++f) {
            fenster.emplace_back(&desktop.oeffneFenster(pid, "Fenster " + std::to_string(f), {10.0 * f, 10.0 * a, 300, 200}),
                                 pid);
        }
    }
    s.starte();
    desktop.uhr.laufeFaelliges();
    for (int z = 0; z < 10; ++z) {
        auto [k, pid] = fenster[static_cast<size_t>(z * 5)];
        s.setzeZiel(std::make_shared<Ziel>(s.ax, desktop.arbeitsplatz, k->element(), pid));
    }
    desktop.uhr.laufeFaelliges();
    for (auto _ : state) {
        auto menue = s.baueMenue();
        benchmark::DoNotOptimize(menue);
    }
    state.counters["eintraege"] = static_cast<double>(s.baueMenue().size());
}
BENCHMARK(MenueMitZehnZielenUndFuenfzigFenstern)->Unit(benchmark::kMicrosecond);

}  // namespace
