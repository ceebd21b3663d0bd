#include "app/steuerung.h"
#include "panel/bedienfeld.h"

#include "menubar/statusleiste.h"

#include "basis/ordner.h"
#include "basis/prozesswerte.h"

namespace klebwerk {

Steuerung::Steuerung(Plattform& p, Einstellungen& einstellungen)
    : plattform(p),
      schleife(p.schleife),
      ud(einstellungen),
      ax(p.ax),
      hinweis(p),
      rahmen(p),
      waechter(p),
      wacheEnde(p.schleife.jetzt()),
      zwischenlager(xdgCacheOrdner() + "/" + kennung + "/Zugestellt") {}

Steuerung::~Steuerung() {
    // The hot-key service outlives the controller: no press may reach it afterwards.
    plattform.kuerzel.beiDruck(nullptr);
}

}  // namespace klebwerk
