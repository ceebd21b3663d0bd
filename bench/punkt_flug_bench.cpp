// One painted frame of the panel's picture flying into the point (shrinking) or out of
// it (growing): the overlay's content drawn into an image of the overlay's size, as
// its backing store would be, at 60 frames a second along the flight. Offscreen Qt.
//   build/bench/klebwerk_bench --benchmark_filter=Flug

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <memory>

#include <QApplication>

#include "qt_anwendung.h"
#include <QImage>
#include <QPainter>
#include <QWidget>

#include "panel/farben.h"
#include "panel/flug.h"
#include "panel/flug_ansicht.h"

using namespace klebwerk;

namespace {


// A stand-in for the panel's picture: its dark rounded body with light rows.
QImage feldBild(double skala) {
    QImage bild(static_cast<int>(270 * skala), static_cast<int>(520 * skala), QImage::Format_ARGB32_Premultiplied);
    bild.fill(Qt::transparent);
    QPainter p(&bild);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(skala, skala);
    p.setPen(Qt::NoPen);
    p.setBrush(feldGrund());
    p.drawRoundedRect(QRectF(0, 0, 270, 520), 16, 16);
    p.setBrush(weiss(0.3));
    for (int zeile = 0; zeile < 14; ++zeile) p.drawRoundedRect(QRectF(16, 16 + 34.0 * zeile, 200, 14), 4, 4);
    return bild;
}

// Arguments: growing (1) or shrinking (0); the picture's pixels per point.
void FlugEinBild(benchmark::State& state) {
    bench::sorgeFuerQt();
    const bool aufgehen = state.range(0) == 1;
    const double skala = static_cast<double>(state.range(1));
    // Panel and disc in the overlay's coordinates: the union enlarged by 30 points.
    const Rechteck feld{30, 34, 270, 520}, scheibe{38, 30, 32, 32};
    QWidget fenster;
    fenster.setAttribute(Qt::WA_TranslucentBackground);
    fenster.resize(330, 584);
    FlugAnsicht ansicht(feldBild(skala), Flug(feld, scheibe, aufgehen), true, &fenster);
    ansicht.setGeometry(0, 0, 330, 584);
    QImage ziel(330, 584, QImage::Format_ARGB32_Premultiplied);
    const double dauer = ansicht.flug().dauer();
    double t = 0;
    std::int64_t bilder = 0;
    for (auto _ : state) {
        ansicht.setzeZeit(t);
        ziel.fill(Qt::transparent);
        ansicht.render(&ziel, QPoint(), QRegion(), QWidget::DrawChildren);
        benchmark::DoNotOptimize(ziel.constBits());
        t += 1.0 / 60;
        if (t > dauer) t = 0;
        ++bilder;
    }
    state.counters["bilder_je_flug"] = std::ceil(dauer * 60);
    state.SetItemsProcessed(bilder);
}
BENCHMARK(FlugEinBild)
    ->ArgNames({"aufgehen", "skala"})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Args({0, 2})
    ->Args({1, 2})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
