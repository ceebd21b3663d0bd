// The user's pasteboard when Klebwerk ends: what a delivery took away comes back, and
// the contents go to the clipboard manager, since on X11 they live only as long as
// the process that owns them.

#include "basis/protokoll.h"
#include "app/steuerung.h"
#include "delivery/zustellung.h"

namespace klebwerk {

namespace {
// How long the end waits for the clipboard manager to take the contents.
constexpr double uebergabeFrist = 2.0;
}  // namespace

void Steuerung::gibAblageAb() {
    Zwischenablage& ablage = plattform.ablage;
    // A delivery under way, or one whose restore is still pending; a copy the user
    // made since stays.
    std::optional<GesicherteAblage> zurueck;
    if (auto z = laufend.lock()) {
        if (z->gesichert && ablage.aenderungen() == z->zaehler) zurueck = z->gesichert;
    } else if (ablageRueckgabe && ablageRueckgabe->gesichert && ablage.aenderungen() == ablageRueckgabe->zaehler) {
        zurueck = ablageRueckgabe->gesichert;
    }
    ablageRueckgabe.reset();
    laufend.reset();
    ablageLesung.aufheben();
    if (zurueck) {
        stelleHer(ablage, *zurueck);
        protokoll("Zwischenablage beim Beenden zurückgegeben");
    }
    AblageUebergabe u = ablage.uebergib(uebergabeFrist);
    if (u.uebergeben) protokoll("Zwischenablage an die Ablageverwaltung übergeben");
    else if (!u.fehler.empty()) protokoll("Zwischenablage nicht übergeben: " + u.fehler);
}

}  // namespace klebwerk
