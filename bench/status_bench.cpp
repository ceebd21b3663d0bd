// One status write with 10 connected targets among 200 running applications, with
// the real workspace of the X11 backend (run inside the private desktop session;
// skipped without one): 200 windows, each owned (_NET_WM_PID) by a process of its own.
//   scripts/desktop-session build/bench/klebwerk_bench --benchmark_filter=Status

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include <QApplication>
#include <QProcess>
#include <QWidget>

#include "app/einstellungen.h"
#include "app/steuerung.h"
#include "desktop/warten.h"
#include "platform/sim/sim_desktop.h"
#include "platform/x11/x11_arbeitsplatz.h"
#include "platform/x11/x_verbindung.h"
#include "support/temp_heim.h"

using namespace klebwerk;

namespace {

constexpr int anwendungen = 200;
constexpr int ziele = 10;

struct VieleAnwendungen {
    std::unique_ptr<QApplication> app;
    std::vector<std::unique_ptr<QProcess>> prozesse;
    std::vector<std::unique_ptr<QWidget>> fenster;
    std::unique_ptr<test::TempHeim> heim;
    std::unique_ptr<sim::SimDesktop> desktop;
    std::unique_ptr<x11::XVerbindung> x;
    std::unique_ptr<x11::X11Arbeitsplatz> arbeitsplatz;
    std::unique_ptr<Plattform> plattform;
    std::unique_ptr<Einstellungen> ud;
    std::unique_ptr<Steuerung> steuerung;
    bool bereit = false;

    VieleAnwendungen() {
        if (!std::getenv("DISPLAY")) return;
        static int argc = 1;
        static char name[] = "bench";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QApplication>(argc, argv);
        std::vector<qint64> pids;
        for (int i = 0; i < anwendungen; ++i) {
            auto p = std::make_unique<QProcess>();
            p->start("sleep", {"600"});
            if (!p->waitForStarted(5000)) return;
            pids.push_back(p->processId());
            prozesse.push_back(std::move(p));
        }
        for (int i = 0; i < anwendungen; ++i) {
            auto w = std::make_unique<QWidget>();
            w->setWindowTitle(QString("Fenster %1").arg(i));
            w->resize(120, 80);
            w->show();
            fenster.push_back(std::move(w));
        }
        QApplication::processEvents();
        // Each window is owned by a process of its own.
        for (int i = 0; i < anwendungen; ++i) {
            QProcess::execute("xprop", {"-id", QString::number(fenster[i]->winId()), "-f", "_NET_WM_PID", "32c", "-set",
                                        "_NET_WM_PID", QString::number(pids[i])});
        }
        heim = std::make_unique<test::TempHeim>();
        desktop = std::make_unique<sim::SimDesktop>();
        x = std::make_unique<x11::XVerbindung>();
        if (!x->verbunden()) return;
        arbeitsplatz = std::make_unique<x11::X11Arbeitsplatz>(*x, desktop->uhr);
        if (!test::warteBis([&] { return arbeitsplatz->laufende().size() > static_cast<size_t>(anwendungen); }, 20))
            return;
        Plattform p = desktop->plattform();
        plattform = std::make_unique<Plattform>(Plattform{p.schleife, p.ax, p.fensterliste, *arbeitsplatz, p.ablage,
                                                          p.eingabe, p.abgriff, p.kuerzel, p.praeferenzen,
                                                          p.bildschirme, p.anmeldeobjekt, p.neustart, p.klang,
                                                          p.befehle, p.sprachen, p.ordner, p.dateien, p.beendigung,
                                                          p.werkzeug, p.systemkuerzel, p.eigeneFenster});
        ud = std::make_unique<Einstellungen>(einstellungsDatei());
        steuerung = std::make_unique<Steuerung>(*plattform, *ud);
        // Ten targets in windows of ten of those processes.
        for (int i = 0; i < ziele; ++i) {
            const int pid = static_cast<int>(pids[static_cast<size_t>(i * (anwendungen / ziele))]);
            desktop->starteAnwendung(Anwendung{pid, "", "/usr/bin/sleep", "Sleep", Aktivierungsart::regulaer});
            auto& w = desktop->oeffneFenster(pid, "Chat", {0, 0, 100, 100});
            auto z = std::make_shared<Ziel>(steuerung->ax, *arbeitsplatz, w.element(), pid);
            z->platz = i + 1;
            steuerung->verbunden.push_back(z);
        }
        steuerung->ziel = steuerung->verbunden.front();
        bereit = true;
    }
    ~VieleAnwendungen() {
        steuerung.reset();
        for (auto& p : prozesse) {
            p->kill();
            p->waitForFinished(2000);
        }
    }
};

void BM_StatusMitZehnZielenUnterZweihundertAnwendungen(benchmark::State& state) {
    static VieleAnwendungen u;
    if (!u.bereit) {
        state.SkipWithError("no desktop session with 200 applications");
        return;
    }
    for (auto _ : state) u.steuerung->schreibeStatus();
}
BENCHMARK(BM_StatusMitZehnZielenUnterZweihundertAnwendungen)->Unit(benchmark::kMillisecond);

}  // namespace
