#include "basis/protokoll.h"
#include "app/steuerung.h"
#include "intake/fangordner.h"

namespace klebwerk {

// While Klebwerk delivers (permission, not paused, a target chosen) the screenshot
// tool's floating preview is off; otherwise, and when the process ends, the user's
// own value is back. What it was lives in the setting "vorschauVorher" ("an", "aus",
// "fehlt"), written before the preview is touched, so that after a crash the next
// call still knows what to restore.
void Steuerung::aktualisiereVorschau(bool beenden) {
    const std::string schluessel = "show-thumbnail";
    Praeferenzen& p = plattform.praeferenzen;
    bool aktiv = !beenden && vertraut && !pausiert() && ziel != nullptr;

    if (!ud.wert("vorschauVorher").isUndefined()) {
        if (aktiv) return;  // already off
        std::optional<std::string> vorher = ud.text("vorschauVorher");
        if (vorher == "fehlt") {
            p.schreibe(bildschirmfotoDomaene, schluessel, Wert());
        } else {
            p.schreibe(bildschirmfotoDomaene, schluessel, Wert(vorher == "an"));
        }
        p.synchronisiere(bildschirmfotoDomaene);
        ud.entferne("vorschauVorher");
        protokoll("Vorschau wieder wie vorher (" + vorher.value_or("?") + ")");
        return;
    }
    if (!aktiv) return;
    Wert jetzt = p.lies(bildschirmfotoDomaene, schluessel);
    const bool* an = jetzt.als<bool>();
    ud.setzeText("vorschauVorher", an ? (*an ? "an" : "aus") : "fehlt");
    p.schreibe(bildschirmfotoDomaene, schluessel, Wert(false));
    p.synchronisiere(bildschirmfotoDomaene);
    protokoll("Vorschau aus");
}

}  // namespace klebwerk
