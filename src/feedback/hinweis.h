#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/geometrie.h"
#include "platform/plattform.h"

class QLabel;
class QWidget;

namespace klebwerk {

// The short line of text in a dark bar at the top centre of the screen that holds
// the pointer. Never takes the focus; clicks pass through.
class Hinweis {
public:
    explicit Hinweis(Plattform& plattform);
    ~Hinweis();

    // Shows `text` for `dauer` seconds; without a time until `weg` or the next hint.
    void zeige(const std::string& text, std::optional<double> dauer = 1.8);
    void weg();

    bool sichtbar() const;
    std::string text() const;
    Rechteck rahmen() const;  // where the bar stands, top-left screen coordinates
    int anzahl() const { return anzahl_; }
    const std::string& letzterText() const { return letzterText_; }

private:
    Plattform& plattform_;
    std::unique_ptr<QWidget> panel_;
    QLabel* label_ = nullptr;
    Marke uhr_;
    std::string letzterText_;
    int anzahl_ = 0;
};

// The screen for an overlay: the first whose frame holds the point, else the main one.
std::optional<Bildschirm> bildschirmBei(const std::vector<Bildschirm>& bildschirme, Punkt punkt);

}  // namespace klebwerk
