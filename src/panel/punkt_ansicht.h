#pragma once

#include <functional>
#include <optional>

#include <QColor>
#include <QPoint>
#include <QWidget>

#include "platform/marke.h"

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
    void ploppe();

    std::function<void()> antippen;
    std::function<void()> doppelt;
    // The point has come to rest after a drag (its place is to be stored).
    std::function<void()> abgelegt;
    std::optional<QColor> farbe() const { return farbe_; }
    bool pulsiert() const;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;

private:
    Laufschleife& schleife_;
    std::optional<QColor> farbe_;
    Marke wartet_;
    bool wirdGezogen_ = false;
    std::optional<QPoint> gleitZiel_;
    Marke gleitUhr_;
};

}  // namespace klebwerk
