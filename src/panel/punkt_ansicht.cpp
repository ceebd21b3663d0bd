#include "panel/punkt_ansicht.h"

#include "platform/laufschleife.h"

namespace klebwerk {

PunktAnsicht::PunktAnsicht(Laufschleife& schleife, QWidget* eltern) : QWidget(eltern), schleife_(schleife) {
    resize(44, 44);
}
PunktAnsicht::~PunktAnsicht() = default;
void PunktAnsicht::setze(std::optional<QColor> leuchten) { farbe_ = leuchten; }
void PunktAnsicht::ploppe() {}
bool PunktAnsicht::pulsiert() const { return false; }
void PunktAnsicht::paintEvent(QPaintEvent*) {}
void PunktAnsicht::mousePressEvent(QMouseEvent*) {}
void PunktAnsicht::mouseMoveEvent(QMouseEvent*) {}
void PunktAnsicht::mouseReleaseEvent(QMouseEvent*) {}
void PunktAnsicht::mouseDoubleClickEvent(QMouseEvent*) {}

}  // namespace klebwerk
