#include "panel/pillen_knopf.h"

#include <QFontMetrics>
#include <QPainter>

#include "panel/farben.h"

namespace klebwerk {
namespace {

constexpr int hoehe = 22;
constexpr int polster = 22;
constexpr double ecke = 11;

}  // namespace

PillenKnopf::PillenKnopf(const QString& titel, QWidget* eltern) : QPushButton(titel, eltern) {
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    QFont f = font();
    f.setPixelSize(12);
    f.setWeight(QFont::DemiBold);
    setFont(f);
}

QSize PillenKnopf::sizeHint() const { return {QFontMetrics(font()).horizontalAdvance(text()) + polster, hoehe}; }

std::optional<Schein> PillenKnopf::schein() const {
    return Schein{QRectF(rect()), ecke, feldMint(), 7, 0.45};
}

void PillenKnopf::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (isDown()) p.setOpacity(0.8);
    p.setPen(Qt::NoPen);
    p.setBrush(grau(0.92));
    p.drawRoundedRect(QRectF(rect()), ecke, ecke);
    p.setPen(grau(0.1));
    p.setFont(font());
    p.drawText(rect(), Qt::AlignCenter, text());
}

}  // namespace klebwerk
