#include "panel/punkt_ansicht.h"

#include "panel/feld_panel.h"

#include <algorithm>
#include <cmath>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QRadialGradient>
#include <QVariantAnimation>

#include "app/sprache.h"
#include "panel/farben.h"
#include "panel/feder.h"
#include "panel/zeit_kurve.h"
#include "platform/laufschleife.h"

namespace klebwerk {
namespace {

constexpr double seite = 44;
constexpr double scheibenEinzug = 6;  // the disc: 32×32
constexpr double kreisRadius = 7;     // the dot: 14×14
constexpr double ruheLeuchten = 8;    // glow radius of the dot at rest
constexpr double pulsDauer = 1.9;     // one way of a breath; it reverses
constexpr double ziehSchwelle = 3;
constexpr double gleitIntervall = 1.0 / 60;
constexpr double gleitFaktor = 0.2;
constexpr double ruheAbstand = 0.6;

double zwischen(double a, double b, double anteil) { return a + (b - a) * anteil; }

QPointF mitte() { return {seite / 2, seite / 2}; }

// Accessible as a button whose press opens the panel at once.
class PunktZugang : public QAccessibleWidget {
public:
    explicit PunktZugang(PunktAnsicht* punkt) : QAccessibleWidget(punkt, QAccessible::Button) {}
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        auto* punkt = static_cast<PunktAnsicht*>(widget());
        if (name == pressAction() && punkt->antippen) punkt->antippen();
    }
};

QAccessibleInterface* punktZugang(const QString&, QObject* objekt) {
    if (auto* punkt = dynamic_cast<PunktAnsicht*>(objekt)) return new PunktZugang(punkt);
    return nullptr;
}

}  // namespace

PunktAnsicht::PunktAnsicht(Laufschleife& schleife, QWidget* eltern) : QWidget(eltern), schleife_(schleife) {
    static const bool zugangEingerichtet = (QAccessible::installFactory(punktZugang), true);
    (void)zugangEingerichtet;
    resize(static_cast<int>(seite), static_cast<int>(seite));
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::NoFocus);
    setAccessibleName(QString::fromStdString(L("Bedienfeld öffnen", "Open panel")));
    setToolTip(QString::fromStdString(
        L("Klicken: Bedienfeld öffnen · Ziehen: verschieben", "Click: open panel · Drag: move")));
}

PunktAnsicht::~PunktAnsicht() = default;

double PunktAnsicht::klickVerzoegerung() {
    return std::min(QApplication::doubleClickInterval() / 1000.0, 0.35);
}

QPainterPath PunktAnsicht::scheibe() {
    QPainterPath pfad;
    pfad.addEllipse(QRectF(scheibenEinzug, scheibenEinzug, seite - 2 * scheibenEinzug, seite - 2 * scheibenEinzug));
    return pfad;
}

// --- the look

void PunktAnsicht::setze(std::optional<QColor> leuchten) {
    if (leuchten == farbe_ && (!leuchten || pulsiert())) return;
    farbe_ = leuchten;
    if (!farbe_) {
        if (puls_) puls_->stop();
        update();
        return;
    }
    if (!puls_) {
        // One breath out and back: 1.9 s each way, eased at both ends, for ever.
        puls_ = new QVariantAnimation(this);
        puls_->setStartValue(0.0);
        puls_->setEndValue(1.0);
        puls_->setDuration(static_cast<int>(2 * pulsDauer * 1000));
        puls_->setLoopCount(-1);
        QObject::connect(puls_, &QVariantAnimation::valueChanged, this, [this](const QVariant& wert) {
            const double lauf = wert.toDouble();
            const double hin = lauf < 0.5 ? 2 * lauf : 2 - 2 * lauf;
            pulsAnteil_ = ZeitKurve::sanft()(hin);
            update();
        });
    }
    puls_->stop();
    pulsAnteil_ = 0;
    puls_->start();
    // A hidden point does not wake the process sixty times a second.
    if (!isVisible()) puls_->pause();
    update();
}

bool PunktAnsicht::pulsiert() const { return puls_ && puls_->state() != QAbstractAnimation::Stopped; }

void PunktAnsicht::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (puls_ && puls_->state() == QAbstractAnimation::Paused) puls_->resume();
}

void PunktAnsicht::hideEvent(QHideEvent* e) {
    QWidget::hideEvent(e);
    if (puls_ && puls_->state() == QAbstractAnimation::Running) puls_->pause();
}

QAbstractAnimation* PunktAnsicht::puls() const { return puls_; }

void PunktAnsicht::ploppe() {
    const Feder feder{320, 11, 1, 0};
    if (!plopp_) {
        plopp_ = new QVariantAnimation(this);
        plopp_->setStartValue(0.0);
        QObject::connect(plopp_, &QVariantAnimation::valueChanged, this, [this, feder](const QVariant& wert) {
            ploppSkala_ = zwischen(0.4, 1.0, feder.wert(wert.toDouble()));
            update();
        });
        QObject::connect(plopp_, &QVariantAnimation::finished, this, [this] {
            ploppSkala_ = 1;
            update();
        });
    }
    const double dauer = feder.ruhezeit();
    plopp_->stop();
    plopp_->setEndValue(dauer);
    plopp_->setDuration(static_cast<int>(dauer * 1000));
    ploppSkala_ = 0.4;
    plopp_->start();
    update();
}

void PunktAnsicht::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);

    p.save();
    p.translate(mitte());
    p.scale(ploppSkala_, ploppSkala_);
    p.translate(-mitte());
    const QRectF scheibe(scheibenEinzug, scheibenEinzug, seite - 2 * scheibenEinzug, seite - 2 * scheibenEinzug);
    p.setPen(Qt::NoPen);
    p.setBrush(feldGrund());
    p.drawEllipse(scheibe);
    // A one-point border inside the disc's edge.
    p.setPen(QPen(weiss(0.1), 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(scheibe.adjusted(0.5, 0.5, -0.5, -0.5));
    p.restore();

    const bool atmet = farbe_ && pulsiert();  // a resting breath keeps its look
    const double skala = atmet ? zwischen(0.94, 1.06, pulsAnteil_) : 1.0;
    const double radius = kreisRadius * skala;
    p.setPen(Qt::NoPen);
    if (farbe_) {
        // The glow: the colour fading out from the dot's edge over the glow radius.
        const double leuchten = (atmet ? zwischen(5.0, 13.0, pulsAnteil_) : ruheLeuchten) * skala;
        const double aussen = radius + leuchten;
        QRadialGradient verlauf(mitte(), aussen);
        const double rand = radius / aussen;
        verlauf.setColorAt(0, mitAlpha(*farbe_, 0.55));
        verlauf.setColorAt(rand, mitAlpha(*farbe_, 0.55));
        verlauf.setColorAt(rand + (1 - rand) * 0.35, mitAlpha(*farbe_, 0.22));
        verlauf.setColorAt(1, mitAlpha(*farbe_, 0));
        p.setBrush(verlauf);
        p.drawEllipse(mitte(), aussen, aussen);
    }
    p.setBrush(farbe_ ? *farbe_ : grau(0.45));
    p.drawEllipse(mitte(), radius, radius);
}

// --- the mouse

void PunktAnsicht::drueckeAn(QMouseEvent* e, int klicks) {
    if (e->button() != Qt::LeftButton || !window() || window() == this) return;
    druckPunkt_ = e->globalPosition();
    fensterUrsprung_ = fensterOrt();
    wirdGezogen_ = true;
    gezogen_ = false;
    klicks_ = klicks;
}

void PunktAnsicht::mousePressEvent(QMouseEvent* e) { drueckeAn(e, 1); }

void PunktAnsicht::mouseDoubleClickEvent(QMouseEvent* e) { drueckeAn(e, 2); }

void PunktAnsicht::mouseMoveEvent(QMouseEvent* e) {
    if (!wirdGezogen_) return;
    const QPointF weg = e->globalPosition() - druckPunkt_;
    if (!gezogen_ && std::hypot(weg.x(), weg.y()) <= ziehSchwelle) return;
    gleitZiel_ = fensterUrsprung_ + weg.toPoint();
    if (!gleitUhr_.aktiv()) gleite();
    gezogen_ = true;
}

void PunktAnsicht::mouseReleaseEvent(QMouseEvent* e) {
    if (!wirdGezogen_ || e->button() != Qt::LeftButton) return;
    wirdGezogen_ = false;
    if (gezogen_) return;  // the glide comes to rest on its own
    wartet_.aufheben();
    if (klicks_ < 2) {
        wartet_ = schleife_.nach(klickVerzoegerung(), [this] {
            if (antippen) antippen();
        });
    } else if (doppelt) {
        doppelt();
    }
}

// --- the glide

void PunktAnsicht::gleite() {
    gleitOrt_ = fensterOrt();
    gleitUhr_ = schleife_.wiederhole(gleitIntervall, [this] { gleitTakt(); });
}

void PunktAnsicht::gleitTakt() {
    QWidget* fenster = window();
    if (!gleitZiel_ || !fenster || fenster == this) return;
    // The whole-point window position lags behind the fractional one; a window moved
    // by someone else starts from where it stands.
    if (fensterOrt() != gleitOrt_.toPoint()) gleitOrt_ = fensterOrt();
    const QPointF c = gleitOrt_;
    const QPointF z = *gleitZiel_;
    const QPointF naechster = c + (z - c) * gleitFaktor;
    if (wirdGezogen_ || std::hypot(z.x() - c.x(), z.y() - c.y()) >= ruheAbstand) {
        bewegeFenster(naechster);
        return;
    }
    bewegeFenster(z);
    gleitZiel_.reset();
    gleitUhr_.aufheben();
    if (abgelegt) abgelegt();
}

void PunktAnsicht::bewegeFenster(QPointF ursprung) {
    gleitOrt_ = ursprung;
    if (auto* feld = dynamic_cast<FeldPanel*>(window())) {
        feld->verschiebeNach(ursprung.toPoint());
    } else {
        window()->move(ursprung.toPoint());
    }
}

QPoint PunktAnsicht::fensterOrt() const {
    if (auto* feld = dynamic_cast<const FeldPanel*>(window())) return feld->ort();
    return window()->pos();
}

}  // namespace klebwerk
