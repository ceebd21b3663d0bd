#include "panel/feld_panel.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
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

bool FeldPanel::hintergrundBei(QPoint stelle) const {
    // A press reaches the window only when the widgets under it let it through; a
    // control does so when it is disabled, and that press is still not the background.
    for (const QWidget* w = childAt(stelle); w && w != this; w = w->parentWidget()) {
        if (!w->isEnabled()) return false;
        if (qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QAbstractSlider*>(w) ||
            qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QComboBox*>(w) ||
            qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractScrollArea*>(w))
            return false;
    }
    return true;
}

void FeldPanel::mousePressEvent(QMouseEvent* e) {
    if (!hintergrundZiehbar_ || e->button() != Qt::LeftButton || !hintergrundBei(e->position().toPoint()))
        return QWidget::mousePressEvent(e);
    zieht_ = true;
    bewegt_ = false;
    griff_ = e->globalPosition().toPoint() - pos();
}

void FeldPanel::mouseMoveEvent(QMouseEvent* e) {
    if (!zieht_ || !(e->buttons() & Qt::LeftButton)) return QWidget::mouseMoveEvent(e);
    const QPoint ziel = e->globalPosition().toPoint() - griff_;
    if (ziel == pos()) return;
    move(ziel);
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
