#include "panel/symbol_knopf.h"

#include <algorithm>

#include <QFontMetrics>
#include <QPainter>

namespace klebwerk {

SymbolKnopf::SymbolKnopf(QSize groesse, QWidget* eltern) : QPushButton(eltern), groesse_(groesse) {
    setFocusPolicy(Qt::NoFocus);
    setFlat(true);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void SymbolKnopf::setzeSchriftfarbe(const QColor& farbe) {
    schriftfarbe_ = farbe;
    update();
}

QSize SymbolKnopf::sizeHint() const {
    if (!groesse_.isEmpty()) return groesse_;
    const QFontMetrics m(font());
    const int textBreite = text().isEmpty() ? 0 : m.horizontalAdvance(text());
    return {iconSize().width() + textBreite + 2, std::max(iconSize().height(), m.height()) + 2};
}

void SymbolKnopf::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (isDown()) p.setOpacity(0.6);
    const QSize symbolGroesse = iconSize();
    const int textBreite = text().isEmpty() ? 0 : QFontMetrics(font()).horizontalAdvance(text());
    const int gesamt = symbolGroesse.width() + textBreite;
    int x = (width() - gesamt) / 2;
    if (!icon().isNull()) {
        const QRect ort(x, (height() - symbolGroesse.height()) / 2, symbolGroesse.width(), symbolGroesse.height());
        icon().paint(&p, ort, Qt::AlignCenter, isEnabled() ? QIcon::Normal : QIcon::Disabled);
    }
    if (textBreite > 0) {
        p.setPen(schriftfarbe_);
        p.setFont(font());
        p.drawText(QRect(x + symbolGroesse.width(), 0, textBreite + 1, height()), Qt::AlignLeft | Qt::AlignVCenter,
                   text());
    }
}

}  // namespace klebwerk
