// The cost of reading a setting at the moment of use (a stat of the file each time)
// and of writing one (an atomic rewrite of the file).

#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>

#include "app/einstellungen.h"

using klebwerk::Einstellungen;

static void LesenEinerEinstellung(benchmark::State& state) {
    QTemporaryDir ordner;
    Einstellungen ud(ordner.filePath("einstellungen.json").toStdString());
    for (int i = 0; i < 30; ++i) ud.setzeWahr("schluessel" + std::to_string(i), i % 2 == 0);
    for (auto _ : state) benchmark::DoNotOptimize(ud.istWahr("schluessel7"));
}
BENCHMARK(LesenEinerEinstellung);

static void SchreibenEinerEinstellung(benchmark::State& state) {
    QTemporaryDir ordner;
    Einstellungen ud(ordner.filePath("einstellungen.json").toStdString());
    bool an = false;
    for (auto _ : state) ud.setzeWahr("pausiert", an = !an);
}
BENCHMARK(SchreibenEinerEinstellung);
