#include "app/steuerung.h"

namespace klebwerk {

// The control panel comes with the panel subsystem.
void Steuerung::zeigeFeld() {}
void Steuerung::aktualisiereFeld() {}

}  // namespace klebwerk
