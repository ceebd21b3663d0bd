#pragma once

#include <functional>

#include <QString>
#include <QWidget>

#include "feedback/klang_art.h"
#include "panel/schein.h"

class QVariantAnimation;

namespace klebwerk {

// A toggle switch: a 40×22 track whose knob slides 18 points to the right and which
// glows mint when on. Toggles on mouse press; accessible as a check box (value 1/0).
class Schalter : public QWidget, public Leuchtend {
public:
    explicit Schalter(QWidget* eltern = nullptr);
    ~Schalter() override;

    bool an() const { return an_; }
    // From code: redraws (animated) only when the value changes; no sound, no callback.
    void setzeAn(bool wert);
    // The user's press: toggles, redraws animated, plays `an` or `aus`, calls `umgeschaltet`.
    void druecken();
    void zeichne(bool animiert);

    // The knob's left edge inside the track as drawn now (2 off, 20 on).
    double knopfX() const { return knopfX_; }

    std::function<void()> umgeschaltet;
    std::function<void(KlangArt)> spiele;  // the panel's sound; plays only while sounds are on
    QString titel;                         // accessibility label

    QSize sizeHint() const override { return {42, 26}; }
    // The mint glow of the track, as strong as the switch is on.
    std::optional<Schein> schein() const override;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;

private:
    void setzeKnopfX(double x);

    bool an_ = false;
    double knopfX_ = 2;
    QVariantAnimation* animation_ = nullptr;
};

}  // namespace klebwerk
