#include "menubar/leistenstand.h"

#include "app/sprache.h"
#include "menubar/menue.h"
#include "targets/ziel.h"

namespace klebwerk {

LeistenStand leistenStand(bool vertraut, bool pausiert, const Ziel* ziel) {
    LeistenStand s;
    if (!vertraut) s.symbol = "exclamationmark.triangle";
    else if (pausiert) s.symbol = "pause.circle";
    else if (ziel) s.symbol = "dot.scope";
    else s.symbol = "scope";
    if (ziel) {
        s.titel = " " + leistenName(ziel->titel.empty() ? ziel->appName : ziel->titel);
        s.tipp = L("Ziel: ", "Target: ") + ziel->anzeige();
    } else {
        s.tipp = L("Kein Zielfenster gewählt", "No target window chosen");
    }
    return s;
}

}  // namespace klebwerk
