#pragma once

#include <memory>

#include "platform/plattform.h"
#include "platform/atspi/atspi_zugaenglichkeit.h"
#include "platform/linux/dbus_befehlskanal.h"
#include "platform/linux/inotify_ordnerereignisse.h"
#include "platform/linux/linux_dateiinfo.h"
#include "platform/linux/linux_praeferenzen.h"
#include "platform/linux/linux_systemkuerzel.h"
#include "platform/linux/pulse_klangspieler.h"
#include "platform/linux/qt_laufschleife.h"
#include "platform/linux/signal_beendigung.h"
#include "platform/x11/x11_arbeitsplatz.h"
#include "platform/x11/x11_desktopfenster.h"
#include "platform/x11/x11_eigene_fenster.h"
#include "platform/x11/tastatur.h"
#include "platform/x11/x11_abgriff.h"
#include "platform/x11/x11_eingabe.h"
#include "platform/x11/x11_fensterliste.h"
#include "platform/x11/x11_tastenkuerzel.h"
#include "platform/x11/x11_zwischenablage.h"
#include "platform/x11/x_verbindung.h"
#include "platform/linux/xdg_anmeldeobjekt.h"
#include "platform/linux/linux_neustart.h"
#include "platform/linux/qt_bildschirme.h"
#include "platform/linux/qt_sprachen.h"

namespace klebwerk::x11 {

// Qt's screens; translucency where a compositing manager owns its selection.
class X11Bildschirme : public linuxdesk::QtBildschirme {
public:
    bool durchscheinend() override;
};

// The real Linux desktop. Create it after the Qt application object.
class X11Desktop {
public:
    X11Desktop();
    Plattform plattform();

    linuxdesk::QtLaufschleife schleife;
    // The backend's own X connection and thread; the X services below build on it.
    XVerbindung x;
    X11Arbeitsplatz arbeitsplatz;
    X11Fensterliste fensterliste;
    // The X windows that accessible windows are paired with.
    XDesktopFenster desktopFenster{x};
    atspi::AtspiZugaenglichkeit ax{desktopFenster, arbeitsplatz, schleife};
    X11Zwischenablage ablage;
    XTastatur tastatur;
    X11Eingabe eingabe;
    X11Abgriff abgriff;
    X11Tastenkuerzel kuerzel;
    linuxdesk::LinuxPraeferenzen praeferenzen;
    X11Bildschirme bildschirme;
    linuxdesk::LinuxNeustart neustart;
    linuxdesk::XdgAnmeldeobjekt anmeldeobjekt;
    linuxdesk::PulseKlangspieler klang;
    linuxdesk::DbusBefehlskanal befehle;
    linuxdesk::QtSprachen sprachen;
    linuxdesk::InotifyOrdnerereignisse ordner;
    linuxdesk::LinuxDateiinfo dateien;
    linuxdesk::SignalBeendigung beendigung;
    linuxdesk::LinuxAufnahmewerkzeug werkzeug;
    linuxdesk::LinuxSystemkuerzel systemkuerzel;
    X11EigeneFenster eigeneFenster{x};
};

}  // namespace klebwerk::x11
