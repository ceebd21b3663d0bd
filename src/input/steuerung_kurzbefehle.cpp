#include "app/steuerung.h"

namespace klebwerk {

// The global shortcuts come with the input subsystem.
void Steuerung::registriereKurzbefehl() {}

}  // namespace klebwerk
