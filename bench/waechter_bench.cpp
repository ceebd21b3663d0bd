// One scan of the watcher over a real folder (readdir and statx through the Linux
// file information), with every entry already settled, and with 100 new captures.

#include <benchmark/benchmark.h>

#include <filesystem>

#include <fcntl.h>
#include <unistd.h>

#include "basis/prozesswerte.h"
#include "intake/fangordner.h"
#include "intake/waechter.h"
#include "platform/sim/sim_desktop.h"
#include "platform/linux/inotify_ordnerereignisse.h"
#include "platform/linux/linux_dateiinfo.h"

namespace {

using namespace klebwerk;
namespace fs = std::filesystem;

void beruehre(const std::string& pfad, bool mitInhalt) {
    int fd = ::open(pfad.c_str(), O_WRONLY | O_CREAT, 0644);
    if (mitInhalt) (void)!::write(fd, "x", 1);
    ::close(fd);
}

struct Aufbau {
    std::string wurzel;
    std::string ordner;
    sim::SimDesktop d;
    linuxdesk::InotifyOrdnerereignisse inotify{false};
    linuxdesk::LinuxDateiinfo dateien;
    std::optional<Plattform> plattform;
    std::unique_ptr<Waechter> w;
    int gemeldet = 0;

    explicit Aufbau(int eintraege) {
        std::string muster = (fs::temp_directory_path() / "klebwerk-bench-XXXXXX").string();
        wurzel = ::mkdtemp(muster.data());
        ordner = wurzel + "/Bilder";
        fs::create_directories(wurzel + "/daten");
        setzeDatenOrdner(wurzel + "/daten");
        fs::create_directories(ordner);
        for (int i = 0; i < eintraege; ++i) beruehre(ordner + "/Bildschirmfoto " + std::to_string(i) + ".png", false);
        d.ordnerDienst = &inotify;
        d.dateiDienst = &dateien;
        d.praeferenzen.domaenen[bildschirmfotoDomaene]["location"] = ordner;
        plattform.emplace(d.plattform());
        w = std::make_unique<Waechter>(*plattform);
        w->neu = [this](const std::string&) { ++gemeldet; };
        w->start();
    }
    ~Aufbau() {
        w.reset();
        std::error_code f;
        fs::remove_all(wurzel, f);
    }
};

void ScanGesehen(benchmark::State& state) {
    Aufbau a(static_cast<int>(state.range(0)));
    for (auto _ : state) a.w->pruefen();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(ScanGesehen)->Arg(1000)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

void ScanMitHundertNeuen(benchmark::State& state) {
    Aufbau a(10'000);
    std::vector<std::string> neu;
    for (int i = 0; i < 100; ++i) neu.push_back(a.ordner + "/Screenshot neu " + std::to_string(i) + ".png");
    for (auto _ : state) {
        state.PauseTiming();
        // 100 captures just written and closed: the watcher has heard of each.
        for (const auto& p : neu) {
            a.w->gesehen.erase(p);
            beruehre(p, true);
        }
        a.inotify.verarbeite();
        state.ResumeTiming();
        a.w->pruefen();
    }
    if (a.gemeldet != static_cast<int>(100 * state.iterations())) state.SkipWithError("not every capture reported");
}
BENCHMARK(ScanMitHundertNeuen)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// The listing alone, for comparison with a whole scan.
void NurListe(benchmark::State& state) {
    Aufbau a(static_cast<int>(state.range(0)));
    std::vector<DateiEintrag> e;
    std::string f;
    for (auto _ : state) a.dateien.liste(a.ordner, e, f);
}
BENCHMARK(NurListe)->Arg(10'000)->Unit(benchmark::kMillisecond);

}  // namespace
