#include "panel/ziel_beschriftung.h"

#include <algorithm>

#include <QFontMetrics>
#include <QPainter>

#include "panel/farben.h"

namespace klebwerk {

ZielBeschriftung::ZielBeschriftung(QWidget* eltern) : QLabel(eltern) {
    // Window titles are shown as they are, never read as markup.
    setTextFormat(Qt::PlainText);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QFont ZielBeschriftung::nameSchrift() const {
    QFont f = font();
    f.setPixelSize(12);
    f.setWeight(QFont::Medium);
    return f;
}

QFont ZielBeschriftung::zusatzSchrift() const {
    QFont f = font();
    f.setPixelSize(11);
    f.setWeight(QFont::Normal);
    return f;
}

void ZielBeschriftung::setzeZiel(const QString& name, const QString& zusatz) {
    if (!schlicht_ && name == name_ && zusatz == zusatz_) return;
    schlicht_ = false;
    name_ = name;
    zusatz_ = zusatz;
    setText(name + zusatz);
}

void ZielBeschriftung::setzeSchlicht(const QString& text) {
    if (schlicht_ && text == this->text()) return;
    schlicht_ = true;
    name_.clear();
    zusatz_.clear();
    setText(text);
}

QSize ZielBeschriftung::sizeHint() const {
    if (schlicht_) {
        const QFontMetrics m(font());
        return {m.horizontalAdvance(text()) + 1, m.height()};
    }
    const QFontMetrics n(nameSchrift()), z(zusatzSchrift());
    return {n.horizontalAdvance(name_) + z.horizontalAdvance(zusatz_) + 1, std::max(n.height(), z.height())};
}

QSize ZielBeschriftung::minimumSizeHint() const { return {12, sizeHint().height()}; }

void ZielBeschriftung::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int breite = width();
    if (schlicht_) {
        const QFontMetrics m(font());
        p.setFont(font());
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter, m.elidedText(text(), Qt::ElideRight, breite));
        return;
    }
    const QFont ns = nameSchrift(), zs = zusatzSchrift();
    const QFontMetrics n(ns), z(zs);
    // Both parts stand on one baseline, centred as the taller one.
    const int grundlinie = (height() - std::max(n.height(), z.height())) / 2 + std::max(n.ascent(), z.ascent());
    const int nameBreite = n.horizontalAdvance(name_);
    QString name = name_, zusatz = zusatz_;
    if (nameBreite + z.horizontalAdvance(zusatz_) > breite) {
        // The end goes first: the addition, then the name.
        if (nameBreite + z.horizontalAdvance(QStringLiteral("…")) <= breite) {
            zusatz = z.elidedText(zusatz_, Qt::ElideRight, breite - nameBreite);
        } else {
            name = n.elidedText(name_, Qt::ElideRight, breite);
            zusatz.clear();
        }
    }
    p.setFont(ns);
    p.setPen(weiss(0.8));
    p.drawText(QPoint(0, grundlinie), name);
    if (!zusatz.isEmpty()) {
        p.setFont(zs);
        p.setPen(weiss(0.4));
        p.drawText(QPoint(n.horizontalAdvance(name), grundlinie), zusatz);
    }
}

}  // namespace klebwerk
