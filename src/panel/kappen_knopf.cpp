#include "panel/kappen_knopf.h"

namespace klebwerk {

KappenKnopf::KappenKnopf(QWidget* eltern) : QPushButton(eltern) {}
void KappenKnopf::setze(const QString& text, bool leer, bool aktiv) {
    setText(text);
    leer_ = leer;
    aktiv_ = aktiv;
}
QSize KappenKnopf::sizeHint() const { return QPushButton::sizeHint(); }
void KappenKnopf::paintEvent(QPaintEvent* e) { QPushButton::paintEvent(e); }

}  // namespace klebwerk
