#include "menubar/statusleiste.h"

#include <QAction>
#include <QIcon>
#include <QImage>
#include <QKeySequence>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QSystemTrayIcon>

namespace klebwerk {

namespace {

// The symbols, drawn for a tray of any colour: a light glyph with a dark rim.
void zeichne(QPainter& p, const std::string& symbol, double g) {
    const double m = g / 2;
    const double r = g * 0.36;
    QPainterPath pfad;
    if (symbol == "exclamationmark.triangle") {
        pfad.moveTo(m, g * 0.1);
        pfad.lineTo(g * 0.92, g * 0.86);
        pfad.lineTo(g * 0.08, g * 0.86);
        pfad.closeSubpath();
        pfad.moveTo(m, g * 0.36);
        pfad.lineTo(m, g * 0.6);
        pfad.moveTo(m, g * 0.7);
        pfad.lineTo(m, g * 0.72);
    } else {
        pfad.addEllipse(QPointF(m, m), r, r);
        if (symbol == "pause.circle") {
            pfad.moveTo(m - g * 0.09, m - g * 0.14);
            pfad.lineTo(m - g * 0.09, m + g * 0.14);
            pfad.moveTo(m + g * 0.09, m - g * 0.14);
            pfad.lineTo(m + g * 0.09, m + g * 0.14);
        } else {
            // A scope: the circle with four ticks reaching in.
            for (auto [dx, dy] : {std::pair{0.0, -1.0}, {0.0, 1.0}, {-1.0, 0.0}, {1.0, 0.0}}) {
                pfad.moveTo(m + dx * (r + g * 0.1), m + dy * (r + g * 0.1));
                pfad.lineTo(m + dx * (r - g * 0.12), m + dy * (r - g * 0.12));
            }
        }
    }
    const double linie = std::max(1.5, g / 11);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(20, 20, 20, 200), linie + 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(pfad);
    p.setPen(QPen(QColor(236, 236, 236), linie, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(pfad);
    if (symbol == "dot.scope") {
        p.setPen(QPen(QColor(20, 20, 20, 200), 1));
        p.setBrush(QColor(236, 236, 236));
        p.drawEllipse(QPointF(m, m), g * 0.11, g * 0.11);
    }
}

QIcon symbolBild(const std::string& symbol) {
    QIcon icon;
    for (int g : {16, 22, 24, 32, 48}) {
        QPixmap bild(g, g);
        bild.fill(Qt::transparent);
        QPainter p(&bild);
        zeichne(p, symbol, g);
        p.end();
        icon.addPixmap(bild);
    }
    return icon;
}

void fuelle(QMenu& menue, const std::vector<MenueEintrag>& eintraege) {
    for (const MenueEintrag& e : eintraege) {
        if (e.art == MenueEintrag::Art::trenner) {
            menue.addSeparator();
            continue;
        }
        const QString titel = QString::fromStdString(e.titel);
        if (!e.unter.empty()) {
            fuelle(*menue.addMenu(titel), e.unter);
            continue;
        }
        QAction* a = menue.addAction(titel);
        a->setEnabled(e.art == MenueEintrag::Art::aktion);
        if (e.haken) {
            a->setCheckable(true);
            a->setChecked(true);
        }
        if (!e.kuerzel.empty()) a->setShortcut(QKeySequence(QString::fromStdString(e.kuerzel)));
        // The work runs after the menu has closed, with the state it then finds.
        if (e.aktion) QObject::connect(a, &QAction::triggered, &menue, e.aktion, Qt::QueuedConnection);
    }
}

}  // namespace

Statusleiste::Statusleiste(std::function<std::vector<MenueEintrag>()> baue)
    : baue_(std::move(baue)), menue_(std::make_unique<QMenu>()), symbol_(std::make_unique<QSystemTrayIcon>()) {
    symbol_->setContextMenu(menue_.get());
    QObject::connect(menue_.get(), &QMenu::aboutToShow, this, [this] { baueMenue(); });
    // A left click opens the same menu, as in the system's own status area.
    QObject::connect(symbol_.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason grund) {
        if (grund != QSystemTrayIcon::Trigger) return;
        const QRect ort = symbol_->geometry();
        menue_->popup(ort.isValid() ? ort.bottomLeft() : QPoint(0, 0));
    });
}

Statusleiste::~Statusleiste() = default;

bool Statusleiste::bereichDa() { return QSystemTrayIcon::isSystemTrayAvailable(); }

void Statusleiste::zeige(const LeistenStand& stand) {
    if (stand == stand_ && symbol_->isVisible()) return;
    if (stand.symbol != stand_.symbol || symbol_->icon().isNull()) symbol_->setIcon(symbolBild(stand.symbol));
    stand_ = stand;
    symbol_->setToolTip(QString::fromStdString(stand.tipp));
    if (bereichDa()) symbol_->show();
}

QImage Statusleiste::bild(const std::vector<MenueEintrag>& eintraege, double massstab) {
    QMenu menue;
    fuelle(menue, eintraege);
    menue.ensurePolished();
    menue.adjustSize();
    QImage bild(menue.size() * massstab, QImage::Format_ARGB32_Premultiplied);
    bild.setDevicePixelRatio(massstab);
    bild.fill(Qt::transparent);
    menue.render(&bild);
    return bild;
}

void Statusleiste::baueMenue() {
    // Submenus of the last opening are children of the menu, not actions of it.
    for (QMenu* unter : menue_->findChildren<QMenu*>(Qt::FindDirectChildrenOnly)) unter->deleteLater();
    menue_->clear();
    fuelle(*menue_, baue_());
}

}  // namespace klebwerk
