#include "panel/bedienfeld.h"

#include <cstdio>
#include <map>

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QPainter>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/sprache.h"
#include "app/steuerung.h"
#include "panel/farben.h"
#include "panel/ziel_zeile.h"

namespace klebwerk {
namespace {

// How long the other rows glide to their new places while a row is dragged (ms).
constexpr int gleitDauer = 120;

std::string kennungVon(const Ziel* z) {
    char text[32];
    std::snprintf(text, sizeof text, "%p", static_cast<const void*>(z));
    return text;
}

// Whether the rows show exactly these targets in this order. Guards the state text,
// whose identity tokens are addresses: a new target could take a gone one's place.
bool zeigenGenau(const std::vector<ZielZeile*>& zeilen, const std::vector<std::shared_ptr<Ziel>>& ziele) {
    if (zeilen.size() != ziele.size()) return false;
    for (size_t i = 0; i < zeilen.size(); ++i) {
        if (zeilen[i]->zielObj.lock() != ziele[i]) return false;
    }
    return true;
}

// The list's last entry: its text in the list's mint, left-aligned, without a frame.
// Where no font of the system has the full-width plus, a plain plus is drawn in its
// place; the button's text stays as it is.
class HinzufuegenKnopf : public QPushButton {
public:
    HinzufuegenKnopf(const QString& text, QWidget* eltern) : QPushButton(text, eltern) {
        QFont schrift = font();
        schrift.setPixelSize(12);
        schrift.setWeight(QFont::Normal);
        setFont(schrift);
        setFocusPolicy(Qt::NoFocus);
        setFlat(true);
    }
    QSize sizeHint() const override {
        QFontMetrics m(font());
        return {m.horizontalAdvance(text()), m.height()};
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override {
        QString gezeigt = text();
        if (!QFontMetrics(font()).inFontUcs4(0xFF0B)) gezeigt.replace(QChar(0xFF0B), QLatin1Char('+'));
        QPainter p(this);
        p.setPen(mitAlpha(feldMint(), isDown() ? 0.6 : 0.85));
        p.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter, gezeigt);
    }
};

}  // namespace

std::string listenStandVon(const Steuerung& s) {
    const std::vector<std::string> namen = s.namen();
    std::string stand;
    for (size_t i = 0; i < s.verbunden.size() && i < namen.size(); ++i) {
        const auto& z = s.verbunden[i];
        if (!stand.empty()) stand += ';';
        stand += kennungVon(z.get()) + '|' + namen[i] + '|' + (z == s.ziel ? "true" : "false");
    }
    return stand;
}

void Bedienfeld::baueListe() {
    if (!liste || !listenFlaeche) return;
    std::string stand = listenStandVon(s);
    if (hinzufuegenKnopf && stand == listenStand && zeigenGenau(zeilenDerListe(), s.verbunden)) return;
    // The rows stay as the user drags them; the first refresh after the drag catches up.
    if (zieht) return;
    listenStand = stand;
    nimmListenUmrissWeg();
    ++listenAufbauten;

    // A row may be the one whose handler led here: it goes once that handler is done.
    for (ZielZeile* zeile : zeilenDerListe()) {
        liste->removeWidget(zeile);
        zeile->hide();
        zeile->deleteLater();
    }
    QWidget* fach = hinzufuegenFach();
    liste->removeWidget(fach);

    const std::vector<std::string> namen = s.namen();
    for (size_t i = 0; i < s.verbunden.size() && i < namen.size(); ++i) {
        const auto& z = s.verbunden[i];
        auto* zeile = new ZielZeile(namen[i], z == s.ziel, listenFlaeche);
        zeile->zielObj = z;
        verdrahte(*zeile, z);
        liste->addWidget(zeile);
        // Shown at once, not with the next turn of the event loop, so that the rows
        // have their places as soon as the list is laid out.
        zeile->show();
    }
    liste->addWidget(fach);
    fach->show();
}

QWidget* Bedienfeld::hinzufuegenFach() {
    if (hinzufuegenKnopf) return hinzufuegenKnopf->parentWidget();
    auto* fach = new QWidget(listenFlaeche);
    fach->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto* fachStapel = new QHBoxLayout(fach);
    fachStapel->setContentsMargins(8, 3, 0, 2);
    hinzufuegenKnopf = new HinzufuegenKnopf(QString::fromStdString(L("＋  Fenster verbinden", "＋  Connect window")), fach);
    hinzufuegenKnopf->setAccessibleName(QString::fromStdString(L("Fenster verbinden (Liste)", "Connect window (list)")));
    std::weak_ptr<int> lebt = leben_;
    QObject::connect(hinzufuegenKnopf, &QPushButton::clicked, hinzufuegenKnopf, [this, lebt] {
        if (lebt.lock()) waehlen();
    });
    fachStapel->addWidget(hinzufuegenKnopf);
    return fach;
}

void Bedienfeld::verdrahte(ZielZeile& zeile, const std::shared_ptr<Ziel>& ziel) {
    std::weak_ptr<int> lebt = leben_;
    std::weak_ptr<Ziel> wz = ziel;

    zeile.antippen = [this, lebt, wz] {
        auto z = wz.lock();
        if (!lebt.lock() || !z) return;
        s.spiele(KlangArt::klick, false);
        s.aktiviere(z, true);
    };
    zeile.neu = [this, lebt, wz] {
        auto z = wz.lock();
        if (!lebt.lock() || !z) return;
        s.neuVerbinden(z);
    };
    zeile.weg = [this, lebt, wz] {
        auto z = wz.lock();
        if (!lebt.lock() || !z) return;
        s.rahmen.weg();
        listenUmriss_.reset();
        s.merkeAbgewaehlt(z);
        s.entferne(z, true);
    };
    zeile.ziehen = [this, lebt](ZielZeile& gezogen, QPointF zeiger) {
        if (lebt.lock()) verschiebe(gezogen, zeiger);
    };
    zeile.losgelassen = [this, lebt] {
        if (!lebt.lock()) return;
        zieht = false;
        std::vector<std::shared_ptr<Ziel>> reihe;
        for (ZielZeile* r : zeilenDerListe()) {
            if (auto z = r->zielObj.lock()) reihe.push_back(z);
        }
        s.ordne(reihe);
    };
    zeile.hover = [this, lebt, wz](bool drin) {
        if (!lebt.lock() || zieht) return;
        if (!drin) {
            nimmListenUmrissWeg();
            return;
        }
        auto z = wz.lock();
        if (!z) return;
        if (auto r = s.ax.rahmen(z->fenster)) {
            s.rahmen.zeige(*r, feldMint(), std::nullopt);
            listenUmriss_ = s.rahmen.rahmen();
        } else {
            // No outline at all rather than a stale one.
            s.rahmen.weg();
            listenUmriss_.reset();
        }
    };
}

void Bedienfeld::nimmListenUmrissWeg() {
    if (listenUmriss_ && s.rahmen.sichtbar() && s.rahmen.farbe() == feldMint() && s.rahmen.rahmen() == *listenUmriss_)
        s.rahmen.weg();
    listenUmriss_.reset();
}

void Bedienfeld::verschiebe(ZielZeile& zeile, QPointF zeiger) {
    zieht = true;
    nimmListenUmrissWeg();
    std::vector<ZielZeile*> zeilen = zeilenDerListe();
    int alt = -1;
    for (size_t i = 0; i < zeilen.size(); ++i) {
        if (zeilen[i] == &zeile) alt = static_cast<int>(i);
    }
    if (alt < 0) return;

    // The slot: as many other rows as have their middle above the pointer. The add
    // button is no row, so it stays last.
    const double y = listenFlaeche->mapFromGlobal(zeiger).y();
    int neu = 0;
    std::map<ZielZeile*, QPoint> vorher;
    for (ZielZeile* andere : zeilen) {
        if (andere == &zeile) continue;
        // A glide still under way ends where it is; the next one starts from there.
        for (auto* gleiten : andere->findChildren<QPropertyAnimation*>(Qt::FindDirectChildrenOnly)) gleiten->stop();
        if (QRectF(andere->geometry()).center().y() < y) ++neu;
        vorher[andere] = andere->pos();
    }
    if (neu == alt) return;

    liste->removeWidget(&zeile);
    liste->insertWidget(neu, &zeile);
    liste->activate();
    if (!listenFlaeche->isVisible()) return;
    for (const auto& [andere, von] : vorher) {
        const QPoint nach = andere->pos();
        if (nach == von) continue;
        auto* gleiten = new QPropertyAnimation(andere, "pos", andere);
        gleiten->setDuration(gleitDauer);
        gleiten->setStartValue(von);
        gleiten->setEndValue(nach);
        gleiten->start(QAbstractAnimation::DeleteWhenStopped);
    }
}

std::vector<ZielZeile*> Bedienfeld::zeilenDerListe() const {
    std::vector<ZielZeile*> zeilen;
    if (!liste) return zeilen;
    for (int i = 0; i < liste->count(); ++i) {
        if (auto* zeile = dynamic_cast<ZielZeile*>(liste->itemAt(i)->widget())) zeilen.push_back(zeile);
    }
    return zeilen;
}

}  // namespace klebwerk
