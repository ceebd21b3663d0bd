#include "panel/schalter.h"

namespace klebwerk {

Schalter::Schalter(QWidget* eltern) : QWidget(eltern) { resize(42, 26); }
Schalter::~Schalter() = default;
void Schalter::setzeAn(bool wert) { an_ = wert; }
void Schalter::druecken() {
    an_ = !an_;
    if (umgeschaltet) umgeschaltet();
}
void Schalter::zeichne(bool) {}
void Schalter::paintEvent(QPaintEvent*) {}
void Schalter::mousePressEvent(QMouseEvent*) { druecken(); }

}  // namespace klebwerk
