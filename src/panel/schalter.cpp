#include "panel/schalter.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QVariantAnimation>

#include "panel/farben.h"

namespace klebwerk {
namespace {

constexpr double spurBreite = 40;
constexpr double spurHoehe = 22;
constexpr double knopfSeite = 18;
constexpr double knopfAus = 2;
constexpr double knopfAn = 20;
constexpr int dauerMs = 180;
constexpr double scheinWeite = 9;

QColor mische(const QColor& a, const QColor& b, double t) {
    auto m = [t](float x, float y) { return static_cast<float>(x + (y - x) * t); };
    return QColor::fromRgbF(m(a.redF(), b.redF()), m(a.greenF(), b.greenF()), m(a.blueF(), b.blueF()),
                            m(a.alphaF(), b.alphaF()));
}

// For assistive technology a switch is a check box: its label, its state, the value
// 1 or 0, and a press that toggles it as a click does.
class SchalterZugang : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit SchalterZugang(Schalter* s) : QAccessibleWidget(s, QAccessible::CheckBox) {}

    Schalter* schalter() const { return static_cast<Schalter*>(widget()); }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return schalter()->titel;
        if (t == QAccessible::Value) return QString::number(schalter()->an() ? 1 : 0);
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State st = QAccessibleWidget::state();
        st.checkable = true;
        st.checked = schalter()->an();
        return st;
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QVariant currentValue() const override { return schalter()->an() ? 1 : 0; }
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return 1; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

    QStringList actionNames() const override { return {pressAction(), toggleAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction() || name == toggleAction()) schalter()->druecken();
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }
};

QAccessibleInterface* schalterZugang(const QString&, QObject* objekt) {
    if (auto* s = dynamic_cast<Schalter*>(objekt)) return new SchalterZugang(s);
    return nullptr;
}

void meldeZugang(Schalter* s) {
    if (!QAccessible::isActive()) return;
    QAccessible::State geaendert;
    geaendert.checked = true;
    QAccessibleStateChangeEvent zustand(s, geaendert);
    QAccessible::updateAccessibility(&zustand);
    QAccessibleValueChangeEvent wert(s, s->an() ? 1 : 0);
    QAccessible::updateAccessibility(&wert);
}

}  // namespace

Schalter::Schalter(QWidget* eltern) : QWidget(eltern) {
    static const bool eingerichtet = [] {
        QAccessible::installFactory(schalterZugang);
        return true;
    }();
    (void)eingerichtet;
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    resize(42, 26);
    zeichne(false);
}

Schalter::~Schalter() = default;

void Schalter::setzeAn(bool wert) {
    if (wert == an_) return;
    an_ = wert;
    zeichne(true);
    meldeZugang(this);
}

void Schalter::druecken() {
    an_ = !an_;
    zeichne(true);
    meldeZugang(this);
    if (spiele) spiele(an_ ? KlangArt::an : KlangArt::aus);
    if (umgeschaltet) umgeschaltet();
}

void Schalter::zeichne(bool animiert) {
    const double ziel = an_ ? knopfAn : knopfAus;
    // A switch that nobody sees takes its place at once.
    if (!animiert || !isVisible()) {
        if (animation_) animation_->stop();
        setzeKnopfX(ziel);
        return;
    }
    if (!animation_) {
        animation_ = new QVariantAnimation(this);
        animation_->setDuration(dauerMs);
        animation_->setEasingCurve(QEasingCurve::InOutQuad);
        QObject::connect(animation_, &QVariantAnimation::valueChanged, this,
                         [this](const QVariant& v) { setzeKnopfX(v.toDouble()); });
    }
    animation_->stop();
    if (knopfX_ == ziel) return;
    animation_->setStartValue(knopfX_);
    animation_->setEndValue(ziel);
    animation_->start();
}

void Schalter::setzeKnopfX(double x) {
    if (x == knopfX_) return;
    knopfX_ = x;
    update();
    scheinNeuZeichnen(*this, scheinWeite);
}

std::optional<Schein> Schalter::schein() const {
    const double t = (knopfX_ - knopfAus) / (knopfAn - knopfAus);
    if (t <= 0) return std::nullopt;
    const QRectF spur((width() - spurBreite) * 0.5, (height() - spurHoehe) * 0.5, spurBreite, spurHoehe);
    return Schein{spur, spurHoehe / 2, feldMint(), scheinWeite, 0.85 * t};
}

void Schalter::paintEvent(QPaintEvent*) {
    const double t = (knopfX_ - knopfAus) / (knopfAn - knopfAus);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF spur((width() - spurBreite) * 0.5, (height() - spurHoehe) * 0.5, spurBreite, spurHoehe);
    // The track with its 1-point border inside its edge.
    p.setPen(QPen(mische(weiss(0.07), weiss(0.35), t), 1));
    p.setBrush(mische(grau(0.24), feldMint(), t));
    p.drawRoundedRect(spur.adjusted(0.5, 0.5, -0.5, -0.5), spurHoehe / 2 - 0.5, spurHoehe / 2 - 0.5);
    // The knob's soft shadow, one point below it, then the knob.
    const QRectF knopf(spur.x() + knopfX_, spur.y() + 2, knopfSeite, knopfSeite);
    p.setPen(Qt::NoPen);
    for (int i = 2; i >= 1; --i) {
        p.setBrush(QColor::fromRgbF(0, 0, 0, 0.35f / 3));
        p.drawEllipse(knopf.translated(0, 1).adjusted(-i * 0.5, -i * 0.5, i * 0.5, i * 0.5));
    }
    p.setBrush(QColor::fromRgbF(0, 0, 0, 0.35f / 3));
    p.drawEllipse(knopf.translated(0, 1));
    p.setBrush(mische(grau(0.86), QColor(Qt::white), t));
    p.drawEllipse(knopf);
}

void Schalter::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return QWidget::mousePressEvent(e);
    e->accept();
    druecken();
}

}  // namespace klebwerk
