#pragma once

#include <QPushButton>
#include <QString>

#include "panel/schein.h"

namespace klebwerk {

// A key cap that shows a shortcut or a short state text, plain, empty (nothing set)
// or active (recording); never narrower than 54 points.
class KappenKnopf : public QPushButton, public Leuchtend {
public:
    explicit KappenKnopf(QWidget* eltern = nullptr);

    // Active wins over empty.
    void setze(const QString& text, bool leer, bool aktiv);
    bool leer() const { return leer_; }
    bool aktiv() const { return aktiv_; }
    int tag = 0;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    std::optional<Schein> schein() const override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    bool leer_ = false;
    bool aktiv_ = false;
};

}  // namespace klebwerk
