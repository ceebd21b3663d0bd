#include "panel/symbole.h"

#include <cmath>

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace klebwerk {
namespace {

// The symbols on a 24 × 24 grid; strokes are scaled with the grid.
QPainterPath lautsprecher() {
    QPainterPath p;
    p.moveTo(3, 9);
    p.lineTo(7, 9);
    p.lineTo(12, 4.5);
    p.lineTo(12, 19.5);
    p.lineTo(7, 15);
    p.lineTo(3, 15);
    p.closeSubpath();
    return p;
}

void zeichneStriche(QPainter& p, Symbol art) {
    switch (art) {
    case Symbol::lautsprecherAn: {
        p.drawArc(QRectF(9.5, 8.5, 7, 7), -50 * 16, 100 * 16);
        p.drawArc(QRectF(8, 5, 13, 14), -50 * 16, 100 * 16);
        break;
    }
    case Symbol::lautsprecherAus:
        p.drawLine(QPointF(15.5, 9), QPointF(21.5, 15));
        p.drawLine(QPointF(21.5, 9), QPointF(15.5, 15));
        break;
    case Symbol::minus:
        p.drawLine(QPointF(5, 12), QPointF(19, 12));
        break;
    case Symbol::kreuz:
        p.drawLine(QPointF(6, 6), QPointF(18, 18));
        p.drawLine(QPointF(18, 6), QPointF(6, 18));
        break;
    case Symbol::pfeilRunter: {
        QPainterPath w;
        w.moveTo(5.5, 8.5);
        w.lineTo(12, 15);
        w.lineTo(18.5, 8.5);
        p.drawPath(w);
        break;
    }
    case Symbol::pfeilRechts: {
        QPainterPath w;
        w.moveTo(8.5, 5.5);
        w.lineTo(15, 12);
        w.lineTo(8.5, 18.5);
        p.drawPath(w);
        break;
    }
    case Symbol::verbindung: {
        // Two chain links across the diagonal.
        p.save();
        p.translate(12, 12);
        p.rotate(-45);
        p.drawRoundedRect(QRectF(-10, -3.5, 11, 7), 3.5, 3.5);
        p.drawRoundedRect(QRectF(-1, -3.5, 11, 7), 3.5, 3.5);
        p.restore();
        break;
    }
    }
}

// Draws the symbol as vectors, so that it is sharp at whatever size and pixel ratio
// it is asked for.
class SymbolMaler : public QIconEngine {
public:
    SymbolMaler(Symbol art, double punkte, bool fett, QColor farbe)
        : art_(art), punkte_(punkte), fett_(fett), farbe_(farbe) {}

    void paint(QPainter* p, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        male(*p, QRectF(rect), mode);
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int seite = static_cast<int>(std::lround(punkte_));
        return QSize(std::min(size.width(), seite), std::min(size.height(), seite));
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1.0);
    }

    // `size` counts device pixels; the symbol is drawn at `scale` device pixels a point.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal scale) override {
        QPixmap bild(size);
        bild.setDevicePixelRatio(scale);
        bild.fill(Qt::transparent);
        QPainter p(&bild);
        male(p, QRectF(QPointF(0, 0), QSizeF(size) / scale), mode);
        return bild;
    }

    QIconEngine* clone() const override { return new SymbolMaler(art_, punkte_, fett_, farbe_); }
    QString key() const override { return QStringLiteral("klebwerk-symbol"); }

private:
    void male(QPainter& p, const QRectF& ziel, QIcon::Mode mode) const {
        const double seite = std::min({ziel.width(), ziel.height(), punkte_});
        if (seite <= 0) return;
        QColor farbe = farbe_;
        if (mode == QIcon::Disabled) farbe.setAlphaF(farbe.alphaF() * 0.4f);
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        p.translate(ziel.center().x() - seite / 2, ziel.center().y() - seite / 2);
        p.scale(seite / 24.0, seite / 24.0);
        QPen stift(farbe, fett_ ? 2.9 : 2.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        // Small symbols need relatively stronger strokes to stay visible.
        if (seite < 12) stift.setWidthF(stift.widthF() * 1.25);
        if (art_ == Symbol::lautsprecherAn || art_ == Symbol::lautsprecherAus) {
            p.setPen(QPen(farbe, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(farbe);
            p.drawPath(lautsprecher());
        }
        p.setPen(stift);
        p.setBrush(Qt::NoBrush);
        zeichneStriche(p, art_);
        p.restore();
    }

    Symbol art_;
    double punkte_;
    bool fett_;
    QColor farbe_;
};

}  // namespace

QIcon symbol(Symbol art, double punkte, bool fett, const QColor& farbe) {
    return QIcon(new SymbolMaler(art, punkte, fett, farbe));
}

}  // namespace klebwerk
