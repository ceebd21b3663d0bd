#pragma once

#include <memory>
#include <optional>

#include <QColor>
#include <QWidget>

#include "platform/geometrie.h"
#include "platform/plattform.h"

namespace klebwerk {

// The content of the frame: a rounded outline 2 points inside the edges, lightly filled.
class RahmenAnsicht : public QWidget {
public:
    RahmenAnsicht();
    QColor farbe() const { return farbe_; }
    void setzeFarbe(const QColor& farbe);
    bool durchscheinend = true;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QColor farbe_;
};

// A coloured outline laid over another application's window. Never takes the
// focus; clicks pass through.
class Rahmen {
public:
    explicit Rahmen(Plattform& plattform);
    ~Rahmen();

    // `r` in top-left screen coordinates, as accessibility reads it.
    void zeige(const Rechteck& r, const QColor& farbe, std::optional<double> dauer = std::nullopt);
    void weg();

    bool sichtbar() const;
    Rechteck rahmen() const;
    QColor farbe() const { return ansicht_->farbe(); }
    RahmenAnsicht& ansicht() { return *ansicht_; }

private:
    Plattform& plattform_;
    std::unique_ptr<RahmenAnsicht> ansicht_;
    Marke uhr_;
};

// The system's accent colour (the palette's highlight).
QColor akzentFarbe();

}  // namespace klebwerk
