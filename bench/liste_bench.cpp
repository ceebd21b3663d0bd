// The panel's target list with 10 connected targets: a refresh that finds the list
// unchanged (every status write refreshes the panel), and a rebuild of all rows (a
// changed active target).
//   build/bench/klebwerk_bench --benchmark_filter=Liste

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include <QApplication>

#include "qt_anwendung.h"

#include "app/einstellungen.h"
#include "app/steuerung.h"
#include "panel/bedienfeld.h"
#include "platform/sim/sim_desktop.h"
#include "support/temp_heim.h"

using namespace klebwerk;

namespace {


struct ZehnZiele {
    test::TempHeim heim;
    sim::SimDesktop desktop;
    Plattform plattform = desktop.plattform();
    Einstellungen ud{einstellungsDatei()};
    Steuerung s{plattform, ud};

    ZehnZiele() {
        for (int a = 0; a < 10; ++a) {
            const int pid = 1000 + a;
            desktop.starteAnwendung({pid, "com.example.app" + std::to_string(a), "/usr/bin/app",
                                     "App " + std::to_string(a), Aktivierungsart::regulaer});
            auto& f = desktop.oeffneFenster(pid, "Fenster " + std::to_string(a), {10.0 * a, 10.0 * a, 300, 200});
            if (a == 0) {
                s.starte();
                desktop.uhr.laufeFaelliges();
            }
            s.setzeZiel(std::make_shared<Ziel>(s.ax, desktop.arbeitsplatz, f.element(), pid));
        }
        desktop.uhr.laufeFaelliges();
        s.feld().baueListe();
    }
};

void ListeUnveraendert(benchmark::State& state) {
    bench::sorgeFuerQt();
    ZehnZiele z;
    Bedienfeld& f = z.s.feld();
    const int vorher = f.listenAufbauten;
    for (auto _ : state) f.baueListe();
    state.counters["aufbauten"] = f.listenAufbauten - vorher;
}
BENCHMARK(ListeUnveraendert)->Unit(benchmark::kMicrosecond);

void ListeNeuAufgebaut(benchmark::State& state) {
    bench::sorgeFuerQt();
    ZehnZiele z;
    Bedienfeld& f = z.s.feld();
    size_t i = 0;
    for (auto _ : state) {
        // Another active target without the rest of an activation: only the list is measured.
        z.s.ziel = z.s.verbunden[i++ % z.s.verbunden.size()];
        f.baueListe();
        // What the event loop does between two refreshes: the old rows go, layouts run.
        QCoreApplication::sendPostedEvents();
    }
    state.counters["zeilen"] = static_cast<double>(f.zeilenDerListe().size());
}
BENCHMARK(ListeNeuAufgebaut)->Unit(benchmark::kMicrosecond);

}  // namespace
