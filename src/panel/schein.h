#pragma once

#include <optional>

#include <QColor>
#include <QRectF>

class QPainter;
class QWidget;

namespace klebwerk {

// A soft glow around a control's shape, like a shadow without offset.
struct Schein {
    QRectF form;          // the shape, in the control's coordinates
    double ecke = 0;      // its corner radius
    QColor farbe;
    double weite = 0;     // how far the glow reaches beyond the shape
    double staerke = 0;   // its opacity at the shape's edge, 0…1
};

// A control that glows. Its glow reaches beyond its own bounds, where a widget cannot
// draw, so the surface it sits on paints it below it (`zeichneScheine`).
class Leuchtend {
public:
    virtual ~Leuchtend() = default;
    // The glow as it is to be drawn now; none when the control does not glow.
    virtual std::optional<Schein> schein() const = 0;
};

// Paints the glow of every visible glowing control inside `flaeche`, in `flaeche`'s
// coordinates, before the controls themselves are drawn over it.
void zeichneScheine(QPainter& p, const QWidget& flaeche);

// Paints one glow at `versatz` (the control's origin in the painter's coordinates).
void zeichneSchein(QPainter& p, const Schein& s, QPointF versatz);

// Asks for a repaint of the area around `control` that its glow covers.
void scheinNeuZeichnen(QWidget& control, double weite);

}  // namespace klebwerk
