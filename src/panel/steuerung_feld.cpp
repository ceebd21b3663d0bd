#include "app/steuerung.h"
#include "basis/protokoll.h"
#include "panel/bedienfeld.h"

namespace klebwerk {

Bedienfeld& Steuerung::feld() {
    if (!feld_) feld_ = std::make_unique<Bedienfeld>(*this);
    return *feld_;
}

void Steuerung::holeFeldNachVorn() {
    protokoll("Erneut gestartet, Bedienfeld nach vorn");
    ud.setzeWahr("feldSichtbar", true);
    feld().zeige();
    if (feld().mini()) feld().wiederherstellen();
    schreibeStatus();
}

}  // namespace klebwerk
