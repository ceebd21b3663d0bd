#include "panel/bedienfeld.h"

#include "app/sprache.h"
#include "app/steuerung.h"

namespace klebwerk {

namespace {

// Where the screenshot shortcuts are changed on the session's desktop.
std::string wegZuDenSystemkuerzeln(KuerzelDesktop desktop) {
    switch (desktop) {
        case KuerzelDesktop::gnome:
            return L("Ändern unter Einstellungen › Tastatur › Tastaturkürzel › Bildschirmfotos",
                     "Change under Settings › Keyboard › Keyboard Shortcuts › Screenshots");
        case KuerzelDesktop::kde:
            return L("Ändern unter Systemeinstellungen › Kurzbefehle › Spectacle",
                     "Change under System Settings › Shortcuts › Spectacle");
        case KuerzelDesktop::anderer:
            break;
    }
    return L("Ändern in den Tastatureinstellungen des Desktops", "Change in the desktop's keyboard settings");
}

}  // namespace

// A press on a cap of the desktop's own screenshot shortcuts: both caps lead to the
// same place, the desktop's shortcut settings.
void Bedienfeld::systemKappeGedrueckt(KappenKnopf*) {
    s.spiele(KlangArt::klick, false);
    // A desktop without such settings opens nothing; the hint says where to look anyway.
    s.plattform.arbeitsplatz.oeffne(tastaturkuerzelLink);
    s.hinweis.zeige(wegZuDenSystemkuerzeln(s.plattform.systemkuerzel.desktop()), 5.0);
}

}  // namespace klebwerk
