#pragma once

#include <QPushButton>

#include "panel/schein.h"

namespace klebwerk {

// A light pill-shaped button with a mint glow and dark text (the panel's choose button).
class PillenKnopf : public QPushButton, public Leuchtend {
public:
    explicit PillenKnopf(const QString& titel, QWidget* eltern = nullptr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    std::optional<Schein> schein() const override;

protected:
    void paintEvent(QPaintEvent*) override;
};

}  // namespace klebwerk
