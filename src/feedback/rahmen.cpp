#include "feedback/rahmen.h"

#include <cmath>

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QRegion>

#include "feedback/overlay.h"

namespace klebwerk {
namespace {
constexpr double einzug = 2;
constexpr double ecke = 10;
constexpr double strich = 3;
}  // namespace

QColor akzentFarbe() { return QApplication::palette().color(QPalette::Highlight); }

RahmenAnsicht::RahmenAnsicht() : farbe_(akzentFarbe()) {
    machUeberlagerung(*this);
    setAttribute(Qt::WA_TranslucentBackground);
    setWindowTitle(QStringLiteral("Klebwerk Rahmen"));
}

void RahmenAnsicht::setzeFarbe(const QColor& farbe) {
    farbe_ = farbe;
    update();
}

void RahmenAnsicht::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QRectF innen = QRectF(rect()).adjusted(einzug, einzug, -einzug, -einzug);
    QPainterPath umriss;
    umriss.addRoundedRect(innen, ecke, ecke);
    QColor fuellung = farbe_;
    fuellung.setAlphaF(0.1);
    if (durchscheinend) p.fillPath(umriss, fuellung);
    p.strokePath(umriss, QPen(farbe_, strich));
}

Rahmen::Rahmen(Plattform& plattform) : plattform_(plattform), ansicht_(std::make_unique<RahmenAnsicht>()) {}

Rahmen::~Rahmen() = default;

namespace {

// Whether a rectangle read from another application can be a window's place at all:
// finite, not empty, and within a range that screens and window coordinates have.
bool moeglicheFlaeche(const Rechteck& r) {
    constexpr double grenze = 1e6;
    for (double v : {r.x, r.y, r.breite, r.hoehe}) {
        if (!std::isfinite(v) || std::fabs(v) > grenze) return false;
    }
    return r.breite > 0 && r.hoehe > 0;
}

}  // namespace

void Rahmen::zeige(const Rechteck& r, const QColor& farbe, std::optional<double> dauer) {
    uhr_.aufheben();
    // A frame read as nonsense marks nothing: no outline is better than one anywhere.
    if (!moeglicheFlaeche(r)) {
        weg();
        return;
    }
    ansicht_->setzeFarbe(farbe);
    ansicht_->setGeometry(static_cast<int>(r.x), static_cast<int>(r.y), static_cast<int>(r.breite),
                          static_cast<int>(r.hoehe));
    bool durchscheinend = plattform_.bildschirme.durchscheinend();
    ansicht_->durchscheinend = durchscheinend;
    if (durchscheinend) {
        ansicht_->clearMask();
    } else {
        // Without compositing the window would hide what it marks: shape it to the
        // outline so that only the stroke covers anything.
        QRect aussen = ansicht_->rect();
        QPainterPath ring;
        ring.addRoundedRect(QRectF(aussen), ecke + einzug, ecke + einzug);
        QPainterPath loch;
        const double innen = einzug + strich + 1;
        loch.addRoundedRect(QRectF(aussen).adjusted(innen, innen, -innen, -innen), ecke - 2, ecke - 2);
        ansicht_->setMask(QRegion(ring.subtracted(loch).toFillPolygon().toPolygon()));
    }
    ansicht_->show();
    ansicht_->raise();
    if (dauer) uhr_ = plattform_.schleife.nach(*dauer, [this] { weg(); });
}

void Rahmen::weg() {
    uhr_.aufheben();
    ansicht_->hide();
}

bool Rahmen::sichtbar() const { return ansicht_->isVisible(); }

Rechteck Rahmen::rahmen() const {
    QRect g = ansicht_->geometry();
    return {double(g.x()), double(g.y()), double(g.width()), double(g.height())};
}

}  // namespace klebwerk
