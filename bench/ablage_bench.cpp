// Putting a full-screen capture on the pasteboard: reading, decoding and encoding
// it as PNG, the part of a delivery that grows with the capture.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

#include "delivery/ablage.h"
#include "platform/sim/sim_desktop.h"

static void LegeBildschirmfotoAuf(benchmark::State& state) {
    QTemporaryDir ordner;
    QImage bild(1280, 800, QImage::Format_RGB32);
    for (int y = 0; y < bild.height(); ++y)
        for (int x = 0; x < bild.width(); ++x) bild.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256));
    const QString pfad = ordner.filePath("Bildschirmfoto.png");
    bild.save(pfad, "PNG");
    klebwerk::sim::SimDesktop desktop;
    for (auto _ : state) benchmark::DoNotOptimize(klebwerk::legeAuf(desktop.ablage, pfad.toStdString(), false));
}
BENCHMARK(LegeBildschirmfotoAuf)->Unit(benchmark::kMillisecond);
