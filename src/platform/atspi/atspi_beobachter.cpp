// Notifications of a window: "AXUIElementDestroyed" when its desktop window is gone,
// "AXTitleChanged" when that window's title changed. AT-SPI sends no name change for a
// Qt window's title, and for a Qt window that is destroyed it sent only "showing" off
// (no defunct state) under Qt 6.4 here; the desktop window tells both reliably. The
// desktop reports on its own thread; each notification goes to the main thread as a
// value and is dropped there when the token is gone by then.

#include <algorithm>
#include <memory>

#include "platform/atspi/atspi_fensterelement.h"
#include "platform/atspi/atspi_zugaenglichkeit.h"

namespace klebwerk::atspi {
namespace {

const std::string zerstoertName = "AXUIElementDestroyed";
const std::string titelName = "AXTitleChanged";

// Touched on the main thread only: the notifications run there and the token is dropped there.
struct Beobachtung {
    bool lebt = true;
    bool weg = false;
};

}  // namespace

Marke AtspiZugaenglichkeit::beobachte(int, const Element& element, const std::vector<std::string>& namen,
                                      Meldung meldung) {
    const bool zerstoert = std::find(namen.begin(), namen.end(), zerstoertName) != namen.end();
    const bool titel = std::find(namen.begin(), namen.end(), titelName) != namen.end();
    if (!zerstoert && !titel) return {};

    auto stand = std::make_shared<Beobachtung>();
    Laufschleife& schleife = schleife_;
    auto melde = [&schleife, stand, meldung = std::move(meldung), element, zerstoert, titel](bool weg) {
        if (weg ? !zerstoert : !titel) return;
        schleife.aufHaupt([stand, meldung, element, weg] {
            if (!stand->lebt || stand->weg) return;
            stand->weg = weg;
            meldung(weg ? zerstoertName : titelName, element);
        });
    };

    std::int64_t nummer = nurFensterNummer(element).value_or(0);
    if (!nummer) nummer = nummerVon(element, standardFrist());
    auto desktop = std::make_shared<Marke>();
    if (nummer) {
        *desktop = desktop_.beobachte(nummer, [melde](DesktopFenster::Aenderung a) {
            melde(a == DesktopFenster::Aenderung::weg);
        });
    }
    // Gone before it was followed (or never paired and no longer answering): told at once,
    // after this call.
    if (nummer ? !desktop_.fenster(nummer) : lies(element, "AXRole", standardFrist()).fehlt()) melde(true);

    return Marke([stand, desktop] {
        stand->lebt = false;
        desktop->aufheben();
    });
}

}  // namespace klebwerk::atspi
