#include "panel/ziel_zeile.h"

#include <cmath>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QGraphicsDropShadowEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include "app/sprache.h"
#include "panel/farben.h"
#include "panel/symbole.h"

namespace klebwerk {
namespace {

constexpr int zeilenBreite = 238;
constexpr double ecke = 8;
// A press that moves further than this (points) drags the row.
constexpr double ziehSchwelle = 4;

QString q(const std::string& text) { return QString::fromStdString(text); }

// The 6×6 status dot; the active one glows mint.
class ZeilenPunkt : public QWidget {
public:
    ZeilenPunkt(bool aktiv, QWidget* eltern) : QWidget(eltern), farbe_(aktiv ? feldMint() : weiss(0.18)) {
        setFixedSize(6, 6);
        if (aktiv) {
            auto* schein = new QGraphicsDropShadowEffect(this);
            schein->setColor(mitAlpha(feldMint(), 0.9));
            schein->setOffset(0, 0);
            schein->setBlurRadius(8);
            setGraphicsEffect(schein);
        }
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(farbe_);
        p.drawEllipse(QRectF(rect()));
    }

private:
    QColor farbe_;
};

// A one-line label that cuts its text at the end with "…" when it gets too little
// room, and yields room before the other views of its row do.
class KuerzendesLabel : public QLabel {
public:
    using QLabel::QLabel;
    QSize minimumSizeHint() const override { return {fontMetrics().horizontalAdvance(QStringLiteral("…")), sizeHint().height()}; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setPen(palette().color(QPalette::WindowText));
        QRect r = contentsRect();
        p.drawText(r, Qt::AlignVCenter | Qt::AlignLeft, fontMetrics().elidedText(text(), Qt::ElideRight, r.width()));
    }
};

// A small borderless button that shows only its symbol, a little fainter while pressed.
class SymbolKnopf : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        if (isDown()) p.setOpacity(0.6);
        const QSize g = iconSize();
        QRect ziel(QPoint((width() - g.width()) / 2, (height() - g.height()) / 2), g);
        icon().paint(&p, ziel);
    }
};

QPushButton* zeilenKnopf(Symbol art, const QString& text, QWidget* eltern) {
    auto* knopf = new SymbolKnopf(eltern);
    knopf->setIcon(symbol(art, 10, true, weiss(0.4)));
    knopf->setIconSize(QSize(11, 11));
    knopf->setFixedSize(18, 18);
    knopf->setFocusPolicy(Qt::NoFocus);
    knopf->setCursor(Qt::ArrowCursor);
    knopf->setAccessibleName(text);
    knopf->setAccessibleDescription(text);
    knopf->setToolTip(text);
    return knopf;
}

// The row to assistive technology: a button that makes its target the active one,
// whose children are its link and cross buttons.
class ZeilenZugang : public QAccessibleWidget {
public:
    explicit ZeilenZugang(ZielZeile* zeile) : QAccessibleWidget(zeile, QAccessible::Button) {}

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& aktion) override {
        if (aktion != pressAction()) return;
        ZielZeile* z = zeile();
        if (z->antippen) {
            auto tippe = z->antippen;
            tippe();
        }
    }

    int childCount() const override { return static_cast<int>(knoepfe().size()); }
    QAccessibleInterface* child(int index) const override {
        auto k = knoepfe();
        if (index < 0 || index >= static_cast<int>(k.size())) return nullptr;
        return QAccessible::queryAccessibleInterface(k[static_cast<size_t>(index)]);
    }
    int indexOfChild(const QAccessibleInterface* kind) const override {
        auto k = knoepfe();
        for (size_t i = 0; i < k.size(); ++i) {
            if (kind && kind->object() == k[i]) return static_cast<int>(i);
        }
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (QPushButton* k : knoepfe()) {
            QAccessibleInterface* kind = QAccessible::queryAccessibleInterface(k);
            if (kind && kind->rect().contains(x, y)) return kind;
        }
        return nullptr;
    }

private:
    ZielZeile* zeile() const { return static_cast<ZielZeile*>(widget()); }
    std::vector<QPushButton*> knoepfe() const {
        std::vector<QPushButton*> k;
        for (QPushButton* b : {zeile()->verbindenKnopf(), zeile()->entfernenKnopf()}) {
            if (b) k.push_back(b);
        }
        return k;
    }
};

QAccessibleInterface* zeilenFabrik(const QString&, QObject* objekt) {
    if (auto* zeile = dynamic_cast<ZielZeile*>(objekt)) return new ZeilenZugang(zeile);
    return nullptr;
}

}  // namespace

ZielZeile::ZielZeile(const std::string& n, bool aktiv, QWidget* eltern) : QWidget(eltern), name(n), aktiv_(aktiv) {
    static const bool fabrikDa = [] {
        QAccessible::installFactory(zeilenFabrik);
        return true;
    }();
    (void)fabrikDa;

    setFixedWidth(zeilenBreite);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setToolTip(q(L("Klicken: Ziel  ·  Ziehen: Reihenfolge ändern", "Click: target  ·  Drag: reorder")));
    setAccessibleName(q(L("Ziel aktivieren: ", "Make target: ") + name));

    auto* stapel = new QHBoxLayout(this);
    stapel->setSpacing(7);
    stapel->setContentsMargins(8, 4, 6, 4);

    auto* punkt = new ZeilenPunkt(aktiv, this);
    stapel->addWidget(punkt, 0, Qt::AlignVCenter);

    auto* label = new KuerzendesLabel(q(name), this);
    QFont schrift = label->font();
    schrift.setPixelSize(12);
    schrift.setWeight(aktiv ? QFont::DemiBold : QFont::Normal);
    label->setFont(schrift);
    QPalette farben = label->palette();
    farben.setColor(QPalette::WindowText, weiss(aktiv ? 0.92 : 0.6));
    label->setPalette(farben);
    label->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    stapel->addWidget(label, 0, Qt::AlignVCenter);
    stapel->addStretch(1);

    verbindenKnopf_ = zeilenKnopf(Symbol::verbindung, q(L("Neu verbinden: ", "Reconnect: ") + name), this);
    QObject::connect(verbindenKnopf_, &QPushButton::clicked, this, [this] { neuGedrueckt(); });
    stapel->addWidget(verbindenKnopf_, 0, Qt::AlignVCenter);

    entfernenKnopf_ = zeilenKnopf(Symbol::kreuz, q(L("Entfernen: ", "Remove: ") + name), this);
    QObject::connect(entfernenKnopf_, &QPushButton::clicked, this, [this] { wegGedrueckt(); });
    stapel->addWidget(entfernenKnopf_, 0, Qt::AlignVCenter);
}

ZielZeile::~ZielZeile() = default;

// The callbacks are called through a copy: what they set off may replace the row's
// callbacks, and the row itself goes only later (never inside its own handler).
void ZielZeile::neuGedrueckt() {
    if (auto f = neu) f();
}

void ZielZeile::wegGedrueckt() {
    if (auto f = weg) f();
}

void ZielZeile::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return QWidget::mousePressEvent(e);
    // Taken here, so that a press on a row never moves the panel.
    e->accept();
    gedrueckt_ = true;
    gezogen_ = false;
    druckBei_ = e->globalPosition();
}

void ZielZeile::mouseMoveEvent(QMouseEvent* e) {
    if (!gedrueckt_ || !(e->buttons() & Qt::LeftButton)) return QWidget::mouseMoveEvent(e);
    e->accept();
    QPointF zeiger = e->globalPosition();
    if (!gezogen_) {
        if (std::hypot(zeiger.x() - druckBei_.x(), zeiger.y() - druckBei_.y()) <= ziehSchwelle) return;
        gezogen_ = true;
        setCursor(Qt::ClosedHandCursor);
        update();
    }
    if (auto f = ziehen) f(*this, zeiger);
}

void ZielZeile::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !gedrueckt_) return QWidget::mouseReleaseEvent(e);
    e->accept();
    beendeDruck();
}

// A row that leaves the screen during a drag gets no release any more: its drag ends
// here, so that the list does not stay held.
void ZielZeile::hideEvent(QHideEvent* e) {
    QWidget::hideEvent(e);
    if (gedrueckt_ && gezogen_) beendeDruck();
    gedrueckt_ = false;
}

void ZielZeile::beendeDruck() {
    gedrueckt_ = false;
    if (gezogen_) {
        gezogen_ = false;
        schwebt_ = false;
        unsetCursor();
        update();
        if (auto f = losgelassen) f();
    } else if (auto f = antippen) {
        f();
    }
}

void ZielZeile::enterEvent(QEnterEvent*) {
    schwebt_ = true;
    update();
    if (auto f = hover) f(true);
}

void ZielZeile::leaveEvent(QEvent*) {
    schwebt_ = false;
    update();
    if (auto f = hover) f(false);
}

void ZielZeile::paintEvent(QPaintEvent*) {
    if (!gezogen_ && !schwebt_) return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(weiss(gezogen_ ? 0.12 : 0.06));
    p.drawRoundedRect(QRectF(rect()), ecke, ecke);
}

}  // namespace klebwerk
