// The language switch, which takes effect through a relaunch, and the login item.

#include "app/sprache.h"
#include "app/steuerung.h"
#include "basis/protokoll.h"
#include "basis/prozesswerte.h"

namespace klebwerk {

namespace {
constexpr double neustartNach = 0.8;
}  // namespace

void Steuerung::wechsleSprache() {
    const std::string neu = englisch() ? "de" : "en";
    ud.setzeText("sprache", neu);
    protokoll("Sprache gewechselt auf " + neu + ", Neustart");
    const std::string programm = plattform.neustart.eigenesProgramm();
    if (programm.empty() || !plattform.neustart.starteNachEnde(programm, {}, neustartNach)) {
        // Quitting now would leave the user without Klebwerk: it stays, and the stored
        // language applies from the next start.
        protokoll("Neustart nicht möglich, die Sprache wechselt beim nächsten Start");
        hinweis.zeige(L("Neustart nicht möglich – die Sprache wechselt beim nächsten Start",
                        "Restart not possible – the language changes at the next start"),
                      3.0);
        return;
    }
    beenden();
}

void Steuerung::schalteAnmeldung() {
    // Failures are silent; the status is logged at the next start.
    if (plattform.anmeldeobjekt.status() == Anmeldeobjekt::aktiv) plattform.anmeldeobjekt.abmelden();
    else plattform.anmeldeobjekt.anmelden();
}

}  // namespace klebwerk
