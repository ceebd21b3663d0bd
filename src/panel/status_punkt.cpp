#include "panel/status_punkt.h"

#include <QPainter>

#include "panel/farben.h"

namespace klebwerk {
namespace {

const QRectF punktFlaeche(0, 2, 8, 8);
constexpr double scheinWeite = 5;

}  // namespace

StatusPunkt::StatusPunkt(QWidget* eltern) : QWidget(eltern) { setFixedSize(8, 12); }

void StatusPunkt::setze(std::optional<QColor> farbe) {
    if (farbe == farbe_) return;
    farbe_ = farbe;
    update();
    scheinNeuZeichnen(*this, scheinWeite);
}

QColor StatusPunkt::fuellung() const { return farbe_ ? *farbe_ : grau(0.4); }

std::optional<Schein> StatusPunkt::schein() const {
    if (!farbe_) return std::nullopt;
    return Schein{punktFlaeche, 4, *farbe_, scheinWeite, scheinStaerke()};
}

void StatusPunkt::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(fuellung());
    p.drawEllipse(punktFlaeche);
}

}  // namespace klebwerk
