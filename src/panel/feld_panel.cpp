#include "panel/feld_panel.h"

#include <QMouseEvent>
#include <QRegion>

namespace klebwerk {

FeldPanel::FeldPanel(Plattform& plattform, const QString& titel, bool hintergrundZiehbar)
    : plattform_(plattform), hintergrundZiehbar_(hintergrundZiehbar) {
    // Tool: no taskbar entry of its own; the rest of the window kind (every workspace,
    // out of the pager) is asked of the window manager at every showing.
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::NoFocus);
    setWindowTitle(titel);
    setAccessibleName(titel);
}

FeldPanel::~FeldPanel() = default;

Rechteck FeldPanel::rahmen() const {
    return {double(ort_.x()), double(ort_.y()), double(width()), double(height())};
}

void FeldPanel::setzeRahmen(const Rechteck& r) {
    ort_ = QPoint(qRound(r.x), qRound(r.y));
    setGeometry(ort_.x(), ort_.y(), qRound(r.breite), qRound(r.hoehe));
}

void FeldPanel::verschiebeNach(QPoint ort) {
    ort_ = ort;
    move(ort);
}

void FeldPanel::vorne() {
    show();
    raise();
}

void FeldPanel::weg() { hide(); }

void FeldPanel::mousePressEvent(QMouseEvent* e) {
    // Only presses that no child took arrive here: every control (a button, a switch, a
    // row) accepts its own press, so this is the background.
    if (!hintergrundZiehbar_ || e->button() != Qt::LeftButton) return QWidget::mousePressEvent(e);
    zieht_ = true;
    bewegt_ = false;
    griff_ = e->globalPosition().toPoint() - ort_;
}

void FeldPanel::mouseMoveEvent(QMouseEvent* e) {
    if (!zieht_ || !(e->buttons() & Qt::LeftButton)) return QWidget::mouseMoveEvent(e);
    const QPoint ziel = e->globalPosition().toPoint() - griff_;
    if (ziel == ort_) return;
    verschiebeNach(ziel);
    bewegt_ = true;
}

void FeldPanel::mouseReleaseEvent(QMouseEvent* e) {
    if (!zieht_ || e->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(e);
    zieht_ = false;
    if (bewegt_ && verschoben) verschoben();
    bewegt_ = false;
}

void FeldPanel::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    formeAn();
}

void FeldPanel::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    durchscheinend = plattform_.bildschirme.durchscheinend();
    formeAn();
    plattform_.eigeneFenster.schwebend(static_cast<std::uint64_t>(winId()));
}

void FeldPanel::hideEvent(QHideEvent* e) {
    QWidget::hideEvent(e);
    // A drag that the hiding cut off never ends with a release here.
    if (zieht_ && bewegt_ && verschoben) verschoben();
    zieht_ = false;
    bewegt_ = false;
}

void FeldPanel::formeAn() {
    // Without a compositor the translucent corners would show black: the window is
    // cut to its outline instead.
    if (durchscheinend || !umriss) {
        clearMask();
        return;
    }
    setMask(QRegion(umriss(size()).toFillPolygon().toPolygon()));
}

}  // namespace klebwerk
