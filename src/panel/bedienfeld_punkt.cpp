#include "panel/bedienfeld.h"

#include "app/steuerung.h"
#include "panel/feld_panel.h"
#include "panel/punkt_ansicht.h"

namespace klebwerk {

// The point and the animations come with the point.
void Bedienfeld::zeigePunkt() {}
void Bedienfeld::minimieren() {}
void Bedienfeld::wiederherstellen() {}
void Bedienfeld::punktDoppelklick() {}
std::optional<QImage> Bedienfeld::schnappschuss() { return std::nullopt; }
void Bedienfeld::animiere(std::optional<QImage>, Rechteck, Rechteck, bool, std::function<void()> fertig) {
    if (fertig) fertig();
}
QImage Bedienfeld::punktBild() { return {}; }
std::string Bedienfeld::punktText() const { return {}; }

}  // namespace klebwerk
