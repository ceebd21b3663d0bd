#include "panel/feld_panel.h"

#include <QMouseEvent>
#include <QRegion>

namespace klebwerk {

FeldPanel::FeldPanel(Plattform& plattform, const QString& titel, bool hintergrundZiehbar)
    : plattform_(plattform), hintergrundZiehbar_(hintergrundZiehbar) {
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::NoFocus);
    setWindowTitle(titel);
    setAccessibleName(titel);
}

FeldPanel::~FeldPanel() = default;

Rechteck FeldPanel::rahmen() const {
    QRect g = geometry();
    return {double(g.x()), double(g.y()), double(g.width()), double(g.height())};
}

void FeldPanel::setzeRahmen(const Rechteck& r) {
    setGeometry(qRound(r.x), qRound(r.y), qRound(r.breite), qRound(r.hoehe));
}

void FeldPanel::vorne() {
    show();
    raise();
}

void FeldPanel::weg() { hide(); }

void FeldPanel::mousePressEvent(QMouseEvent* e) {
    if (!hintergrundZiehbar_ || e->button() != Qt::LeftButton) return QWidget::mousePressEvent(e);
    zieht_ = true;
    griff_ = e->globalPosition().toPoint() - pos();
}

void FeldPanel::mouseMoveEvent(QMouseEvent* e) {
    if (!zieht_) return QWidget::mouseMoveEvent(e);
    move(e->globalPosition().toPoint() - griff_);
}

void FeldPanel::mouseReleaseEvent(QMouseEvent* e) {
    if (!zieht_) return QWidget::mouseReleaseEvent(e);
    zieht_ = false;
    if (verschoben) verschoben();
}

void FeldPanel::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    formeAn();
}

void FeldPanel::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    durchscheinend = plattform_.bildschirme.durchscheinend();
    formeAn();
}

void FeldPanel::formeAn() {
    if (durchscheinend || !umriss) {
        clearMask();
        return;
    }
    setMask(QRegion(umriss(size()).toFillPolygon().toPolygon()));
}

}  // namespace klebwerk
