#pragma once

#include <memory>

#include "platform/plattform.h"
#include "platform/atspi/atspi_zugaenglichkeit.h"
#include "platform/x11/dbus_befehlskanal.h"
#include "platform/x11/inotify_ordnerereignisse.h"
#include "platform/x11/linux_dateiinfo.h"
#include "platform/x11/linux_praeferenzen.h"
#include "platform/x11/linux_systemkuerzel.h"
#include "platform/x11/pulse_klangspieler.h"
#include "platform/x11/qt_laufschleife.h"
#include "platform/x11/signal_beendigung.h"
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
#include "platform/x11/xdg_anmeldeobjekt.h"

namespace klebwerk::x11 {

class QtBildschirme : public Bildschirme {
public:
    std::vector<Bildschirm> alle() override;
    bool durchscheinend() override;
};

class LinuxNeustart : public Neustart {
public:
    std::string eigenesProgramm() override;
    bool starte(const std::string& programm, const std::vector<std::string>& argumente) override;
    // Through this program's own relaunch helper (see neustart_helfer.h): no shell.
    bool starteNachEnde(const std::string& programm, const std::vector<std::string>& argumente,
                        double verzoegerung) override;
};

class QtSprachen : public Sprachen {
public:
    std::vector<std::string> bevorzugt() override;
};

// The real Linux desktop. Create it after the Qt application object.
class X11Desktop {
public:
    X11Desktop();
    Plattform plattform();

    QtLaufschleife schleife;
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
    LinuxPraeferenzen praeferenzen;
    QtBildschirme bildschirme;
    LinuxNeustart neustart;
    XdgAnmeldeobjekt anmeldeobjekt;
    PulseKlangspieler klang;
    DbusBefehlskanal befehle;
    QtSprachen sprachen;
    InotifyOrdnerereignisse ordner;
    LinuxDateiinfo dateien;
    SignalBeendigung beendigung;
    LinuxAufnahmewerkzeug werkzeug;
    LinuxSystemkuerzel systemkuerzel;
    X11EigeneFenster eigeneFenster{x};
};

}  // namespace klebwerk::x11
