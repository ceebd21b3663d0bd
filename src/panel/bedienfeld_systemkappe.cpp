#include "panel/bedienfeld.h"

#include "app/steuerung.h"

namespace klebwerk {

// A press on a cap of the desktop's own screenshot shortcuts.
void Bedienfeld::systemKappeGedrueckt(KappenKnopf*) {}

}  // namespace klebwerk
