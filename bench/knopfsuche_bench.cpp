// One tick of the dictation watch against Chromium's page of 4,000 elements (run
// inside the private desktop session; skipped without one): the learned button's search,
// the input field's text, both together as the background lane does them, and how
// long the main thread is held up while that work runs on the background lane.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <functional>

#include <QEventLoop>

#include "assist/knopfsuche.h"
#include "chromium_seite.h"
#include "targets/seite.h"

using namespace klebwerk;
using bench::chromiumSeite;

namespace {

using Uhr = std::chrono::steady_clock;

double msSeit(Uhr::time_point t) { return std::chrono::duration<double, std::milli>(Uhr::now() - t).count(); }

bool seiteDa(benchmark::State& state) {
    if (chromiumSeite().web) return true;
    state.SkipWithError("no Chromium page on the accessibility bus");
    return false;
}

// The first button of the page is found last: the search goes backwards.
KnopfMerkmal knopf(int nummer) { return KnopfMerkmal{"AXButton", "Knopf " + std::to_string(nummer), ""}; }

// Runs `arbeit` on the background lane, as the watch does (main-thread deadlines mark
// an application as not answering; the background lane's do not), and gives the time
// it took there, in seconds.
double imHintergrund(const std::function<void()>& arbeit) {
    auto& s = chromiumSeite();
    QEventLoop schleife;
    double dauer = 0;
    Marke m = s.schleife->hintergrund([&]() -> Fortsetzung {
        const auto anfang = Uhr::now();
        arbeit();
        dauer = std::chrono::duration<double>(Uhr::now() - anfang).count();
        s.schleife->aufHaupt([&] { schleife.quit(); });
        return Fortsetzung::fertig();
    });
    schleife.exec();
    return dauer;
}

void BM_Knopfsuche(benchmark::State& state) {
    if (!seiteDa(state)) return;
    auto& s = chromiumSeite();
    const KnopfMerkmal m = knopf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        bool gefunden = false;
        state.SetIterationTime(imHintergrund([&] { gefunden = sucheKnopfIn(*s.ax, *s.fenster, m).has_value(); }));
        if (!gefunden) state.SkipWithError("button not found");
    }
}
BENCHMARK(BM_Knopfsuche)->Name("Chromium/sucheKnopf")->Arg(999)->Arg(0)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_Eingabetext(benchmark::State& state) {
    if (!seiteDa(state)) return;
    auto& s = chromiumSeite();
    for (auto _ : state) {
        state.SetIterationTime(imHintergrund([&] {
            auto text = eingabeTextVon(*s.ax, s.ax->anwendung(s.pid), *s.fenster, true);
            benchmark::DoNotOptimize(text);
        }));
    }
}
BENCHMARK(BM_Eingabetext)->Name("Chromium/eingabeTextVon")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// What one tick of the watch does on the background lane.
bool wachtakt(const AX& ax, const Element& app, const Element& fenster, const KnopfMerkmal& m) {
    const bool offen = ax.text(fenster, "AXRole").has_value();
    const bool da = offen && sucheKnopfIn(ax, fenster, m).has_value();
    auto text = eingabeTextVon(ax, app, fenster, true);
    benchmark::DoNotOptimize(text);
    return da;
}

void BM_Wachtakt(benchmark::State& state) {
    if (!seiteDa(state)) return;
    auto& s = chromiumSeite();
    const KnopfMerkmal m = knopf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        bool da = false;
        state.SetIterationTime(imHintergrund([&] { da = wachtakt(*s.ax, s.ax->anwendung(s.pid), *s.fenster, m); }));
        if (!da) state.SkipWithError("button not found");
    }
}
BENCHMARK(BM_Wachtakt)->Name("Chromium/Wachtakt")->Arg(999)->Arg(0)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// Ten watch ticks in a row on the background lane while the main thread runs a 10 ms
// timer: its greatest lateness, and every 0.2 s a main-thread read of the page's
// focused element (as the focus poll reads it) with its longest duration.
void BM_HauptfadenNebenWachtakt(benchmark::State& state) {
    if (!seiteDa(state)) return;
    auto& s = chromiumSeite();
    const KnopfMerkmal m = knopf(0);
    const Element app = s.ax->anwendung(s.pid);
    const Element fenster = *s.fenster;
    double spaetestens = 0, laengsteLesung = 0, laengsterTakt = 0;
    long takte = 0;
    for (auto _ : state) {
        QEventLoop schleife;
        auto erwartet = Uhr::now() + std::chrono::milliseconds(10);
        int zaehler = 0;
        Marke uhr = s.schleife->wiederhole(0.01, [&] {
            const auto jetzt = Uhr::now();
            spaetestens = std::max(spaetestens, std::chrono::duration<double, std::milli>(jetzt - erwartet).count());
            if (++zaehler % 20 == 0) {
                auto fokus = s.ax->element(app, "AXFocusedUIElement");
                benchmark::DoNotOptimize(fokus);
                laengsteLesung = std::max(laengsteLesung, msSeit(jetzt));
            }
            erwartet = Uhr::now() + std::chrono::milliseconds(10);
        });
        const AX& ax = *s.ax;
        int uebrig = 10;
        Schritt takt;
        takt = [&]() -> Fortsetzung {
            const auto anfang = Uhr::now();
            wachtakt(ax, app, fenster, m);
            laengsterTakt = std::max(laengsterTakt, msSeit(anfang));
            ++takte;
            if (--uebrig > 0) return Fortsetzung::danach(0, takt);
            s.schleife->aufHaupt([&] { schleife.quit(); });
            return Fortsetzung::fertig();
        };
        Marke arbeit = s.schleife->hintergrund(takt);
        schleife.exec();
    }
    state.counters["Hauptfaden_spaeter_ms"] = spaetestens;
    state.counters["Hauptfaden_Lesung_ms"] = laengsteLesung;
    state.counters["Wachtakt_laengster_ms"] = laengsterTakt;
    state.counters["Wachtakte"] = static_cast<double>(takte);
}
BENCHMARK(BM_HauptfadenNebenWachtakt)->Name("Chromium/HauptfadenNebenWachtakt")->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
