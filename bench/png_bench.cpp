// The capture's way to the pasteboard, for full-screen captures of 1280x800 and
// 3840x2160 pixels: decoding the PNG file with Qt, encoding it again with Qt's writer
// at the light level used before, and with `schnellesPng` on one part and on two
// parts at once.

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QImage>

#include "delivery/png_kodierung.h"

using namespace klebwerk;

namespace {

QImage muster(int breite, int hoehe) {
    QImage bild(breite, hoehe, QImage::Format_RGB32);
    for (int y = 0; y < hoehe; ++y)
        for (int x = 0; x < breite; ++x) bild.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256));
    return bild;
}

QByteArray alsQtPng(const QImage& bild, int qualitaet) {
    QByteArray png;
    QBuffer puffer(&png);
    puffer.open(QIODevice::WriteOnly);
    bild.save(&puffer, "PNG", qualitaet);
    return png;
}

const QImage& bildVon(int breite) {
    static const QImage klein = muster(1280, 800);
    static const QImage gross = muster(3840, 2160);
    return breite == 1280 ? klein : gross;
}

void BM_PngDekodierenQt(benchmark::State& state) {
    const QByteArray png = alsQtPng(bildVon(static_cast<int>(state.range(0))), -1);
    for (auto _ : state) {
        QImage b;
        b.loadFromData(png);
        benchmark::DoNotOptimize(b);
    }
}
BENCHMARK(BM_PngDekodierenQt)->Arg(1280)->Arg(3840)->Unit(benchmark::kMillisecond);

void BM_PngKodierenQtStufe80(benchmark::State& state) {
    const QImage& bild = bildVon(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(alsQtPng(bild, 80));
    state.counters["bytes"] = static_cast<double>(alsQtPng(bild, 80).size());
}
BENCHMARK(BM_PngKodierenQtStufe80)->Arg(1280)->Arg(3840)->Unit(benchmark::kMillisecond);

void BM_SchnellesPng(benchmark::State& state) {
    const QImage& bild = bildVon(static_cast<int>(state.range(0)));
    const int teile = static_cast<int>(state.range(1));
    for (auto _ : state) benchmark::DoNotOptimize(schnellesPng(bild, teile));
    state.counters["bytes"] = static_cast<double>(schnellesPng(bild, teile)->size());
}
BENCHMARK(BM_SchnellesPng)->Args({1280, 1})->Args({1280, 2})->Args({3840, 1})->Args({3840, 2})->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SchnellesPngDekodierenQt(benchmark::State& state) {
    const std::string png = *schnellesPng(bildVon(static_cast<int>(state.range(0))), 2);
    const QByteArray daten(png.data(), static_cast<qsizetype>(png.size()));
    for (auto _ : state) {
        QImage b;
        b.loadFromData(daten);
        benchmark::DoNotOptimize(b);
    }
}
BENCHMARK(BM_SchnellesPngDekodierenQt)->Arg(1280)->Arg(3840)->Unit(benchmark::kMillisecond);

}  // namespace
