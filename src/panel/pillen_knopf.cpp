#include "panel/pillen_knopf.h"

namespace klebwerk {

PillenKnopf::PillenKnopf(const QString& titel, QWidget* eltern) : QPushButton(titel, eltern) {}
QSize PillenKnopf::sizeHint() const { return QPushButton::sizeHint(); }
void PillenKnopf::paintEvent(QPaintEvent* e) { QPushButton::paintEvent(e); }

}  // namespace klebwerk
