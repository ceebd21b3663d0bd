#include "panel/kappen_knopf.h"

#include <algorithm>

#include <QFontMetrics>
#include <QPainter>

#include "panel/farben.h"

namespace klebwerk {
namespace {

constexpr int hoehe = 22;
constexpr int mindestBreite = 54;
constexpr int polster = 18;
constexpr double ecke = 7;
constexpr double scheinWeite = 7;

QFont schriftFuer(QFont f, bool schlicht) {
    f.setPixelSize(schlicht ? 12 : 11);
    f.setWeight(schlicht ? QFont::DemiBold : QFont::Medium);
    return f;
}

}  // namespace

KappenKnopf::KappenKnopf(QWidget* eltern) : QPushButton(eltern) {
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFont(schriftFuer(font(), true));
}

void KappenKnopf::setze(const QString& text, bool leer, bool aktiv) {
    if (text == this->text() && leer == leer_ && aktiv == aktiv_) return;
    const bool scheinVorher = aktiv_;
    leer_ = leer;
    aktiv_ = aktiv;
    setFont(schriftFuer(font(), !aktiv && !leer));
    setText(text);
    updateGeometry();
    update();
    if (scheinVorher != aktiv_) scheinNeuZeichnen(*this, scheinWeite);
}

QSize KappenKnopf::sizeHint() const {
    const int text = QFontMetrics(font()).horizontalAdvance(this->text());
    return {std::max(text + polster, mindestBreite), hoehe};
}

std::optional<Schein> KappenKnopf::schein() const {
    if (!aktiv_) return std::nullopt;
    return Schein{QRectF(rect()), ecke, feldMint(), scheinWeite, 0.7};
}

void KappenKnopf::paintEvent(QPaintEvent*) {
    QColor fuellung, rand, schrift;
    if (aktiv_) {
        fuellung = mitAlpha(feldMint(), 0.18);
        rand = feldMint();
        schrift = feldMint();
    } else if (leer_) {
        fuellung = weiss(0.04);
        rand = weiss(0.12);
        schrift = weiss(0.4);
    } else {
        fuellung = weiss(0.09);
        rand = weiss(0.12);
        schrift = weiss(0.88);
    }
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (isDown()) p.setOpacity(0.75);
    p.setPen(QPen(rand, 1));
    p.setBrush(fuellung);
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), ecke - 0.5, ecke - 0.5);
    p.setPen(schrift);
    p.setFont(font());
    p.drawText(rect(), Qt::AlignCenter, text());
}

}  // namespace klebwerk
