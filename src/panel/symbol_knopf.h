#pragma once

#include <QPushButton>
#include <QSize>

namespace klebwerk {

// A borderless button that shows only its symbol (and, when it has one, its title
// after the symbol), in the symbol's own colour; it never takes the keyboard focus.
class SymbolKnopf : public QPushButton {
public:
    // `groesse`: the button's fixed size; an empty size fits symbol and title.
    explicit SymbolKnopf(QSize groesse, QWidget* eltern = nullptr);
    // The title's colour.
    void setzeSchriftfarbe(const QColor& farbe);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QSize groesse_;
    QColor schriftfarbe_;
};

}  // namespace klebwerk
