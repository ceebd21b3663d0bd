#pragma once

#include <QPushButton>

namespace klebwerk {

// A light pill-shaped button with a mint glow and dark text (the panel's choose button).
class PillenKnopf : public QPushButton {
public:
    explicit PillenKnopf(const QString& titel, QWidget* eltern = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;
};

}  // namespace klebwerk
