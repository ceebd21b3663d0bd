#include "panel/schein.h"

#include <cmath>

#include <QPainter>
#include <QPainterPath>
#include <QWidget>

namespace klebwerk {

void zeichneSchein(QPainter& p, const Schein& s, QPointF versatz) {
    if (s.staerke <= 0 || s.weite <= 0 || s.farbe.alpha() == 0) return;
    // Layers of the shape, each a little larger and fainter than the one inside it:
    // their translucent fills add up to a glow that fades out over `weite`.
    const int lagen = std::max(4, static_cast<int>(std::ceil(s.weite * 1.5)));
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const QRectF form = s.form.translated(versatz);
    for (int i = lagen; i >= 1; --i) {
        const double anteil = static_cast<double>(i) / lagen;  // 1 outermost
        const double rand = s.weite * anteil;
        const double schwaeche = 1.0 - anteil;
        QColor c = s.farbe;
        c.setAlphaF(static_cast<float>(s.farbe.alphaF() * s.staerke * 2.2 * schwaeche * schwaeche / lagen));
        p.setBrush(c);
        const QRectF r = form.adjusted(-rand, -rand, rand, rand);
        const double ecke = s.ecke + rand;
        p.drawRoundedRect(r, std::min(ecke, r.height() / 2), std::min(ecke, r.height() / 2));
    }
    p.restore();
}

void zeichneScheine(QPainter& p, const QWidget& flaeche) {
    const QList<QWidget*> kinder = flaeche.findChildren<QWidget*>();
    for (QWidget* w : kinder) {
        auto* leuchtend = dynamic_cast<Leuchtend*>(w);
        if (!leuchtend || !w->isVisibleTo(&flaeche)) continue;
        if (auto s = leuchtend->schein()) zeichneSchein(p, *s, w->mapTo(&flaeche, QPoint(0, 0)));
    }
}

void scheinNeuZeichnen(QWidget& control, double weite) {
    QWidget* fenster = control.window();
    if (!fenster || fenster == &control) {
        control.update();
        return;
    }
    const int rand = static_cast<int>(std::ceil(weite)) + 1;
    QRect bereich(control.mapTo(fenster, QPoint(0, 0)), control.size());
    fenster->update(bereich.adjusted(-rand, -rand, rand, rand));
}

}  // namespace klebwerk
