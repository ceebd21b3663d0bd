// Synthesis of the interface sounds.
//   build/bench/klebwerk_bench --benchmark_filter=Klang

#include <benchmark/benchmark.h>

#include <string>

#include "app/einstellungen.h"
#include "feedback/klang.h"
#include "feedback/klang_synthese.h"
#include "feedback/wav.h"
#include "platform/klangspieler.h"
#include "support/temp_heim.h"

using namespace klebwerk;

namespace {

class StillerSpieler : public Klangspieler {
public:
    size_t bytes = 0;
    void spiele(const std::string& wav) override { bytes += wav.size(); }
};

// All seven sounds made from nothing, as the first use of each one does: samples, then
// the WAV bytes.
void BM_KlangAlleSiebenKalt(benchmark::State& state) {
    Zufall zufall = systemZufall();
    for (auto _ : state) {
        size_t summe = 0;
        for (KlangArt art : alleKlangArten) summe += wav(synthetisiere(segmenteVon(art), zufall)).size();
        benchmark::DoNotOptimize(summe);
    }
}
BENCHMARK(BM_KlangAlleSiebenKalt)->Unit(benchmark::kMicrosecond);

// A sound played again: its kept bytes handed to the player (with the setting read).
void BM_KlangSpieleAusDemSpeicher(benchmark::State& state) {
    test::TempHeim heim;
    Einstellungen ud(einstellungsDatei());
    StillerSpieler spieler;
    Klang klang(spieler, ud);
    klang.spiele(KlangArt::auf);
    for (auto _ : state) klang.spiele(KlangArt::auf);
    benchmark::DoNotOptimize(spieler.bytes);
}
BENCHMARK(BM_KlangSpieleAusDemSpeicher)->Unit(benchmark::kMicrosecond);

}  // namespace
