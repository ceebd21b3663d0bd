#pragma once

#include <QImage>
#include <QWidget>

#include "panel/flug.h"

class QVariantAnimation;

namespace klebwerk {

// Paints the panel's picture where its flight (`Flug`) has it at the moment, with the
// flight's corner radius and opacity; runs the flight on Qt's animation clock. Where
// the desktop cannot draw translucent windows, its window is shaped to the picture.
class FlugAnsicht : public QWidget {
public:
    // `flug` in this view's coordinates.
    FlugAnsicht(const QImage& bild, const Flug& flug, bool durchscheinend, QWidget* eltern = nullptr);
    ~FlugAnsicht() override;

    // Starts the flight from its beginning.
    void starte();
    // Shows the flight `t` seconds after its start.
    void setzeZeit(double t);
    double zeit() const { return zeit_; }
    const Flug& flug() const { return flug_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QImage bild_;
    Flug flug_;
    bool durchscheinend_;
    double zeit_ = 0;
    QVariantAnimation* uhr_ = nullptr;
};

}  // namespace klebwerk
