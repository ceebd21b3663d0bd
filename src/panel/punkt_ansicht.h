#pragma once

#include <functional>
#include <optional>

#include <QColor>
#include <QPainterPath>
#include <QPoint>
#include <QPointF>
#include <QWidget>

#include "platform/marke.h"

class QAbstractAnimation;
class QVariantAnimation;

namespace klebwerk {

class Laufschleife;

// The point the panel shrinks to: a dark 32×32 disc with a 14×14 status dot that
// breathes in the status colour. A click restores the panel (after the double-click
// delay), a double click pauses or resumes, a drag moves the point.
class PunktAnsicht : public QWidget {
public:
    PunktAnsicht(Laufschleife& schleife, QWidget* eltern = nullptr);
    ~PunktAnsicht() override;

    // The status colour, or the neutral grey look without one. An unchanged colour
    // leaves the running pulse alone.
    void setze(std::optional<QColor> leuchten);
    // A springy pop of the disc, from 0.4 of its size to full.
    void ploppe();

    std::function<void()> antippen;
    std::function<void()> doppelt;
    // The point has come to rest after a drag (its place is to be stored).
    std::function<void()> abgelegt;
    std::optional<QColor> farbe() const { return farbe_; }
    // Whether the dot breathes in a colour (the breath rests while the point is hidden).
    bool pulsiert() const;
    // The breathing of the dot (Qt's animation clock); none before the first colour.
    QAbstractAnimation* puls() const;
    // Whether the point is still on its way to where it was dragged.
    bool gleitet() const { return gleitUhr_.aktiv(); }

    // How long a single click waits for a second one: the system's double-click
    // interval, at most 0.35 s.
    static double klickVerzoegerung();
    // The outline of the disc in the view's coordinates (the point window's shape).
    static QPainterPath scheibe();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;
    void showEvent(QShowEvent*) override;
    void hideEvent(QHideEvent*) override;

private:
    void drueckeAn(QMouseEvent* e, int klicks);
    void gleite();
    void gleitTakt();
    void bewegeFenster(QPointF ursprung);
    // Where the point's window stands, as this program put it.
    QPoint fensterOrt() const;

    Laufschleife& schleife_;
    std::optional<QColor> farbe_;
    Marke wartet_;
    bool wirdGezogen_ = false;
    std::optional<QPoint> gleitZiel_;
    Marke gleitUhr_;

    // The press: where the mouse was (global), where the window stood, how many
    // clicks it counts, and whether it has turned into a drag.
    QPointF druckPunkt_;
    QPoint fensterUrsprung_;
    int klicks_ = 0;
    bool gezogen_ = false;
    // The window's origin to the fraction of a point while it glides.
    QPointF gleitOrt_;

    QVariantAnimation* puls_ = nullptr;
    double pulsAnteil_ = 0;  // 0 … 1 along one breath, eased
    QVariantAnimation* plopp_ = nullptr;
    double ploppSkala_ = 1;
};

}  // namespace klebwerk
