#include "app/steuerung.h"

namespace klebwerk {

// Every status refresh keeps the preview setting current and writes the status file;
// the status item's own look comes with the menu.
void Steuerung::aktualisiereLeiste() {
    aktualisiereVorschau(false);
    schreibeStatus();
}

}  // namespace klebwerk
