#include "panel/ziel_zeile.h"

#include <QPushButton>

namespace klebwerk {

ZielZeile::ZielZeile(const std::string& n, bool, QWidget* eltern) : QWidget(eltern), name(n) {}
ZielZeile::~ZielZeile() = default;
void ZielZeile::neuGedrueckt() {
    if (neu) neu();
}
void ZielZeile::wegGedrueckt() {
    if (weg) weg();
}
void ZielZeile::mousePressEvent(QMouseEvent*) {}
void ZielZeile::mouseMoveEvent(QMouseEvent*) {}
void ZielZeile::mouseReleaseEvent(QMouseEvent*) {}
void ZielZeile::enterEvent(QEnterEvent*) {}
void ZielZeile::leaveEvent(QEvent*) {}
void ZielZeile::paintEvent(QPaintEvent*) {}

}  // namespace klebwerk
