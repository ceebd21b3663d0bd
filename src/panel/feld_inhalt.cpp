#include "panel/feld_inhalt.h"

#include <QPainter>

#include "panel/farben.h"
#include "panel/schein.h"

namespace klebwerk {

FeldInhalt::FeldInhalt(QWidget* eltern) : QWidget(eltern) {}

void FeldInhalt::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(weiss(0.07), 1));
    p.setBrush(feldGrund());
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 15.5, 15.5);
    zeichneScheine(p, *this);
}

Trennlinie::Trennlinie(int breite, QWidget* eltern) : QWidget(eltern) { setFixedSize(breite, 1); }

void Trennlinie::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), weiss(0.07));
}

}  // namespace klebwerk
