// The panel's refresh when nothing changed, with 10 connected targets on the simulated
// desktop (it runs after every status write of the controller).
//   build/bench/klebwerk_bench --benchmark_filter=Feld

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

void FeldAktualisierenOhneAenderungMitZehnZielen(benchmark::State& state) {
    bench::sorgeFuerQt();
    test::TempHeim heim;
    sim::SimDesktop desktop;
    Plattform plattform = desktop.plattform();
    Einstellungen ud(einstellungsDatei());
    Steuerung s(plattform, ud);
    s.starte();
    desktop.uhr.laufeFaelliges();
    for (int a = 0; a < 10; ++a) {
        const int pid = 1000 + a;
        desktop.starteAnwendung({pid, "com.example.app" + std::to_string(a), "/usr/bin/app",
                                 "App " + std::to_string(a), Aktivierungsart::regulaer});
        auto& fenster = desktop.oeffneFenster(pid, "Fenster " + std::to_string(a), {10.0 * a, 10.0 * a, 300, 200});
        s.setzeZiel(std::make_shared<Ziel>(s.ax, desktop.arbeitsplatz, fenster.element(), pid));
    }
    desktop.uhr.laufeFaelliges();
    Bedienfeld& feld = s.feld();
    feld.setzeListeOffen(true);
    feld.aktualisiere();
    QCoreApplication::processEvents();
    for (auto _ : state) feld.aktualisiere();
    state.counters["ziele"] = static_cast<double>(s.verbunden.size());
}
BENCHMARK(FeldAktualisierenOhneAenderungMitZehnZielen)->Unit(benchmark::kMicrosecond);

}  // namespace
