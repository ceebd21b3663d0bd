// The status item: its symbol and tooltip follow the permission, the pause and the
// target.

#include "app/steuerung.h"
#include "basis/protokoll.h"
#include "menubar/statusleiste.h"

namespace klebwerk {

void Steuerung::richteLeisteEin() {
    leiste = std::make_unique<Statusleiste>([this] { return baueMenue(); });
    protokoll(std::string("Statusbereich gefunden: ") + (Statusleiste::bereichDa() ? "true" : "false"));
}

void Steuerung::aktualisiereLeiste() {
    leistenAnzeige = leistenStand(vertraut, pausiert(), ziel.get());
    if (leiste) leiste->zeige(leistenAnzeige);
    aktualisiereVorschau(false);
    schreibeStatus();
}

}  // namespace klebwerk
