#include "panel/bedienfeld.h"

#include <algorithm>

#include <QLayout>
#include <QPainter>
#include <QWidget>

#include "app/sprache.h"
#include "app/steuerung.h"
#include "app/zahltext.h"
#include "feedback/overlay.h"
#include "panel/farben.h"
#include "panel/feld_panel.h"
#include "panel/feld_rahmen.h"
#include "panel/flug_ansicht.h"
#include "panel/punkt_ansicht.h"

namespace klebwerk {
namespace {

constexpr double punktSeite = 44;
constexpr double scheibenEinzug = 6;
// The point sits over the panel's top-left corner, its disc near the header's dot.
constexpr double punktVersatzX = 2;
constexpr double punktVersatzY = -4;
constexpr double flugRand = 30;
constexpr double ueberlagerungNachlauf = 0.05;
constexpr int punktBildSkala = 4;

Rechteck eingezogen(const Rechteck& r, double d) { return {r.x + d, r.y + d, r.breite - 2 * d, r.hoehe - 2 * d}; }

Rechteck vereinigt(const Rechteck& a, const Rechteck& b) {
    double links = std::min(a.x, b.x), oben = std::min(a.y, b.y);
    double rechts = std::max(a.x + a.breite, b.x + b.breite), unten = std::max(a.y + a.hoehe, b.y + b.hoehe);
    return {links, oben, rechts - links, unten - oben};
}

Rechteck verschoben(const Rechteck& r, const Rechteck& nach) { return {r.x - nach.x, r.y - nach.y, r.breite, r.hoehe}; }

const char* wahrText(bool wert) { return wert ? "true" : "false"; }

}  // namespace

Rechteck Bedienfeld::punktStandort() const {
    if (auto gespeichert = gespeicherterRahmen(s.ud, "Punkt")) {
        // A place stored on a screen that is gone (or has shrunk) is brought back.
        Rechteck r{gespeichert->x, gespeichert->y, punktSeite, punktSeite};
        return inSichtbaremBereich(r, s.plattform.bildschirme.alle());
    }
    Rechteck feld = panel->rahmen();
    return {feld.x + punktVersatzX, feld.y + punktVersatzY, punktSeite, punktSeite};
}

void Bedienfeld::richtePunktEin() {
    punktFenster->umriss = [](QSize) { return PunktAnsicht::scheibe(); };
    std::weak_ptr<int> leben = leben_;
    punktAnsicht->abgelegt = [this, leben] {
        if (!leben.expired()) speichereRahmen(s.ud, "Punkt", punktFenster->rahmen());
    };
}

void Bedienfeld::zeigePunkt() {
    richtePunktEin();
    if (!punktPlatziert_) {
        punktFenster->setzeRahmen(punktStandort());
        punktPlatziert_ = true;
    }
    aktualisiere();
    punktFenster->vorne();
}

void Bedienfeld::minimieren() {
    if (animiert || mini()) return;
    punktFenster->setzeRahmen(punktStandort());
    punktPlatziert_ = true;
    setzeMini(true);
    s.spiele(KlangArt::zu, false);
    std::optional<QImage> bild = schnappschuss();
    Rechteck von = panel->rahmen();
    Rechteck nach = eingezogen(punktFenster->rahmen(), scheibenEinzug);
    panel->weg();
    std::weak_ptr<int> leben = leben_;
    animiere(std::move(bild), von, nach, false, [this, leben] {
        if (leben.expired()) return;
        zeigePunkt();
        punktAnsicht->ploppe();
    });
}

void Bedienfeld::wiederherstellen() {
    // Only from the point: the point window of a panel that never shrank stands
    // nowhere, and its frame must not overwrite the stored place.
    if (animiert || !mini()) return;
    setzeMini(false);
    Rechteck p = punktFenster->rahmen();
    speichereRahmen(s.ud, "Punkt", p);
    // Undoes the point's placement beside the panel's top-left corner.
    Rechteck feld = panel->rahmen();
    feld.x = p.x - punktVersatzX;
    feld.y = p.y - punktVersatzY;
    panel->setzeRahmen(feld);
    aktualisiere();
    // Kept whole on the point's screen (the refresh may have changed the height).
    std::vector<Bildschirm> bildschirme = s.plattform.bildschirme.alle();
    if (auto bildschirm = bildschirmVon(p, bildschirme))
        panel->setzeRahmen(inSichtbaremBereich(panel->rahmen(), {*bildschirm}));
    s.spiele(KlangArt::auf, false);
    std::optional<QImage> bild = schnappschuss();
    punktFenster->weg();
    std::weak_ptr<int> leben = leben_;
    animiere(std::move(bild), panel->rahmen(), eingezogen(p, scheibenEinzug), true, [this, leben] {
        if (!leben.expired()) panel->vorne();
    });
}

void Bedienfeld::punktDoppelklick() {
    const bool pausiert = !s.pausiert();
    s.ud.setzeWahr("pausiert", pausiert);
    s.spiele(pausiert ? KlangArt::aktivAus : KlangArt::aktivAn, false);
    s.aktualisiereLeiste();
    aktualisiere();
    s.hinweis.zeige(pausiert ? L("Klebwerk pausiert", "Klebwerk paused") : L("Klebwerk aktiv", "Klebwerk active"), 1.5);
}

std::optional<QImage> Bedienfeld::schnappschuss() {
    if (!inhalt || inhalt->width() <= 0 || inhalt->height() <= 0) return std::nullopt;
    if (inhalt->layout()) inhalt->layout()->activate();
    // Drawn from the widgets themselves, at the pixel density of the panel's screen.
    const qreal skala = inhalt->devicePixelRatioF();
    QImage bild(qRound(inhalt->width() * skala), qRound(inhalt->height() * skala), QImage::Format_ARGB32_Premultiplied);
    if (bild.isNull()) return std::nullopt;
    bild.setDevicePixelRatio(skala);
    bild.fill(Qt::transparent);
    inhalt->render(&bild, QPoint(), QRegion(), QWidget::DrawChildren);
    return bild;
}

void Bedienfeld::animiere(std::optional<QImage> bild, Rechteck von, Rechteck nach, bool aufgehen,
                          std::function<void()> fertig) {
    if (!bild || bild->isNull()) {
        if (fertig) fertig();
        return;
    }
    animiert = true;
    Rechteck a = vereinigt(von, nach);
    a = {a.x - flugRand, a.y - flugRand, a.breite + 2 * flugRand, a.hoehe + 2 * flugRand};

    auto fenster = std::make_unique<QWidget>();
    machUeberlagerung(*fenster);
    fenster->setAttribute(Qt::WA_TranslucentBackground);
    fenster->setWindowTitle(QStringLiteral("Klebwerk"));
    fenster->setGeometry(qRound(a.x), qRound(a.y), qRound(a.breite), qRound(a.hoehe));
    Flug flug(verschoben(von, a), verschoben(nach, a), aufgehen);
    auto* ansicht = new FlugAnsicht(*bild, flug, s.plattform.bildschirme.durchscheinend(), fenster.get());
    ansicht->setGeometry(0, 0, fenster->width(), fenster->height());
    flug_ = std::move(fenster);
    flugAnsicht_ = ansicht;
    flug_->show();
    flug_->raise();
    flugAnsicht_->starte();

    // The end of the flight is logic (the real window appears), so it runs on the run
    // loop; the overlay stays a moment longer to cover the window's appearance.
    std::weak_ptr<int> leben = leben_;
    flugFertig_ = s.schleife.nach(flug.dauer(), [this, leben, fertig = std::move(fertig)] {
        if (leben.expired()) return;
        if (fertig) fertig();
        flugEnde_ = s.schleife.nach(ueberlagerungNachlauf, [this, leben] {
            if (leben.expired()) return;
            flugAnsicht_ = nullptr;
            flug_.reset();
            animiert = false;
        });
    });
}

QImage Bedienfeld::punktBild() {
    QImage bild(static_cast<int>(punktSeite) * punktBildSkala, static_cast<int>(punktSeite) * punktBildSkala,
                QImage::Format_RGB32);
    bild.fill(grau(0.55));
    QPainter maler(&bild);
    maler.scale(punktBildSkala, punktBildSkala);
    punktAnsicht->render(&maler, QPoint(), QRegion(), QWidget::DrawChildren);
    return bild;
}

std::string Bedienfeld::punktText() const {
    return std::string("punkt sichtbar=") + wahrText(punktFenster->sichtbar()) +
           " rahmen=" + rechteckText(punktFenster->rahmen()) + " | feld sichtbar=" + wahrText(panel->sichtbar()) +
           " rahmen=" + rechteckText(panel->rahmen()) + " mini=" + wahrText(mini());
}

}  // namespace klebwerk
