#include "chromium_zugang_befehl.h"

#include <string>

#include "app/sprache.h"
#include "platform/linux/chromium_zugang.h"

namespace klebwerk {

using linuxdesk::ZugangsStand;

int chromiumZugangBefehl(bool an, std::ostream& aus, std::ostream& fehler) {
    const std::string schalter(linuxdesk::zugangsSchalter);
    auto ergebnisse = an ? linuxdesk::richteChromiumZugangEin() : linuxdesk::entferneChromiumZugang();
    bool gelungen = true;
    bool einerDa = false;
    bool eingerichtet = false;
    for (const auto& e : ergebnisse) {
        const std::string& name = e.browser.name;
        switch (e.stand) {
            case ZugangsStand::eingerichtet:
                eingerichtet = einerDa = true;
                aus << L(name + ": eingerichtet, " + e.pfad + " (aus " + e.quelle + ") startet ihn mit " + schalter + ".",
                         name + ": set up, " + e.pfad + " (from " + e.quelle + ") starts it with " + schalter + ".")
                    << "\n";
                break;
            case ZugangsStand::unveraendert:
                einerDa = true;
                aus << L(name + ": schon eingerichtet in " + e.pfad + ".", name + ": already set up in " + e.pfad + ".")
                    << "\n";
                break;
            case ZugangsStand::entfernt:
                aus << L(name + ": " + e.pfad + " entfernt.", name + ": removed " + e.pfad + ".") << "\n";
                break;
            case ZugangsStand::eigenerMitSchalter:
                einerDa = true;
                aus << L(name + ": " + e.pfad + " ist ein eigener Eintrag, nicht von Klebwerk, und startet ihn schon mit " +
                             schalter + "; er bleibt, wie er ist.",
                         name + ": " + e.pfad + " is an entry of your own, not Klebwerk's, and starts it with " + schalter +
                             " already; it stays as it is.")
                    << "\n";
                break;
            case ZugangsStand::eigenerEintrag:
                if (an) {
                    einerDa = true;
                    gelungen = false;
                    fehler << L(name + ": " + e.pfad + " ist ein eigener Eintrag, nicht von Klebwerk; er bleibt, wie er ist. " +
                                    "Bitte dort in jeder Exec-Zeile " + schalter + " hinter das Programm setzen.",
                                name + ": " + e.pfad + " is an entry of your own, not Klebwerk's; it stays as it is. " +
                                    "Please add " + schalter + " after the program in each of its Exec lines.")
                           << "\n";
                } else {
                    aus << L(name + ": " + e.pfad + " ist ein eigener Eintrag, nicht von Klebwerk; er bleibt.",
                             name + ": " + e.pfad + " is an entry of your own, not Klebwerk's; it stays.")
                        << "\n";
                }
                break;
            case ZugangsStand::keinSystemEintrag:
                aus << L(name + ": kein Eintrag " + e.browser.datei + " in den Ordnern von XDG_DATA_DIRS, nicht installiert.",
                         name + ": no entry " + e.browser.datei + " in the folders of XDG_DATA_DIRS, not installed.")
                    << "\n";
                break;
            case ZugangsStand::keinEintrag:
                break;
            case ZugangsStand::unverstaendlich:
                gelungen = false;
                fehler << L(name + ": " + e.quelle + " hat keine lesbare Exec-Zeile; nichts geschrieben.",
                            name + ": " + e.quelle + " has no readable Exec line; nothing written.")
                       << "\n";
                break;
            case ZugangsStand::fehler:
                gelungen = false;
                fehler << L(name + ": fehlgeschlagen, " + e.fehler, name + ": failed, " + e.fehler) << "\n";
                break;
        }
    }
    if (an && !einerDa && gelungen) {
        gelungen = false;
        fehler << L("Weder Chromium noch Google Chrome ist installiert: kein Desktop-Eintrag gefunden.",
                    "Neither Chromium nor Google Chrome is installed: no desktop entry found.")
               << "\n";
    }
    if (!an && gelungen) {
        bool entfernt = false;
        for (const auto& e : ergebnisse) entfernt = entfernt || e.stand == ZugangsStand::entfernt;
        if (!entfernt) aus << L("Kein Eintrag von Klebwerk da, nichts entfernt.", "No entry of Klebwerk's there, nothing removed.") << "\n";
    }
    if (eingerichtet)
        aus << L("Ein Browser, der schon läuft, bekommt den Schalter erst nach einem Neustart.",
                 "A browser that is running already gets the switch only when it is restarted.")
            << "\n";
    return gelungen ? 0 : 1;
}

}  // namespace klebwerk
