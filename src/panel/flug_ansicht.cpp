#include "panel/flug_ansicht.h"

#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QVariantAnimation>

namespace klebwerk {
namespace {

QRectF alsQt(const Rechteck& r) { return {r.x, r.y, r.breite, r.hoehe}; }

QPainterPath umrissVon(const FlugBild& b) {
    QPainterPath pfad;
    pfad.addRoundedRect(alsQt(b.rahmen), b.ecke, b.ecke);
    return pfad;
}

}  // namespace

FlugAnsicht::FlugAnsicht(const QImage& bild, const Flug& flug, bool durchscheinend, QWidget* eltern)
    : QWidget(eltern), bild_(bild), flug_(flug), durchscheinend_(durchscheinend) {
    // The picture is painted as a texture in its own pixels.
    bild_.setDevicePixelRatio(1);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    uhr_ = new QVariantAnimation(this);
    uhr_->setStartValue(0.0);
    uhr_->setEndValue(flug_.dauer());
    uhr_->setDuration(static_cast<int>(flug_.dauer() * 1000));
    QObject::connect(uhr_, &QVariantAnimation::valueChanged, this,
                     [this](const QVariant& wert) { setzeZeit(wert.toDouble()); });
    setzeZeit(0);
}

FlugAnsicht::~FlugAnsicht() = default;

void FlugAnsicht::starte() {
    uhr_->stop();
    setzeZeit(0);
    uhr_->start();
}

void FlugAnsicht::setzeZeit(double t) {
    zeit_ = t;
    if (!durchscheinend_ && window()) {
        window()->setMask(QRegion(umrissVon(flug_.bei(t)).toFillPolygon().toPolygon()));
    }
    update();
}

void FlugAnsicht::paintEvent(QPaintEvent*) {
    if (bild_.isNull()) return;
    const FlugBild b = flug_.bei(zeit_);
    if (b.rahmen.breite <= 0 || b.rahmen.hoehe <= 0) return;
    QPainter p(this);
    p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    p.setOpacity(b.deckkraft);
    // The picture stretched over the frame, as a texture so that the rounded edge is
    // smooth.
    QBrush pinsel(bild_);
    QTransform abbildung;
    abbildung.translate(b.rahmen.x, b.rahmen.y);
    abbildung.scale(b.rahmen.breite / bild_.width(), b.rahmen.hoehe / bild_.height());
    pinsel.setTransform(abbildung);
    p.setPen(Qt::NoPen);
    p.setBrush(pinsel);
    p.drawPath(umrissVon(b));
}

}  // namespace klebwerk
