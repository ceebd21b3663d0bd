#pragma once

#include <QWidget>

namespace klebwerk {

// The panel's content view: dark, rounded (radius 16) with a faint border; below its
// controls it paints their glows.
class FeldInhalt : public QWidget {
public:
    explicit FeldInhalt(QWidget* eltern = nullptr);

protected:
    void paintEvent(QPaintEvent*) override;
};

// A hairline between the panel's sections: 1 point high, faint white.
class Trennlinie : public QWidget {
public:
    Trennlinie(int breite, QWidget* eltern = nullptr);

protected:
    void paintEvent(QPaintEvent*) override;
};

}  // namespace klebwerk
