#pragma once

#include <optional>

#include <QColor>
#include <QWidget>

#include "panel/schein.h"

namespace klebwerk {

// The header's status dot: 8×8 in a holder 8 wide and 12 high, filled with the status
// colour and glowing in it, or grey without a glow when there is none.
class StatusPunkt : public QWidget, public Leuchtend {
public:
    explicit StatusPunkt(QWidget* eltern = nullptr);

    void setze(std::optional<QColor> farbe);
    QColor fuellung() const;
    // The glow's opacity: 0.9 with a status colour, 0 without.
    double scheinStaerke() const { return farbe_ ? 0.9 : 0.0; }
    std::optional<Schein> schein() const override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    std::optional<QColor> farbe_;
};

}  // namespace klebwerk
