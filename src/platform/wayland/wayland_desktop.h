#pragma once

#include "platform/plattform.h"
#include "platform/atspi/atspi_zugaenglichkeit.h"
#include "platform/linux/dbus_befehlskanal.h"
#include "platform/linux/inotify_ordnerereignisse.h"
#include "platform/linux/linux_dateiinfo.h"
#include "platform/linux/linux_neustart.h"
#include "platform/linux/linux_praeferenzen.h"
#include "platform/linux/linux_systemkuerzel.h"
#include "platform/linux/pulse_klangspieler.h"
#include "platform/linux/qt_bildschirme.h"
#include "platform/linux/qt_laufschleife.h"
#include "platform/linux/qt_sprachen.h"
#include "platform/linux/signal_beendigung.h"
#include "platform/linux/xdg_anmeldeobjekt.h"
#include "platform/wayland/sway_arbeitsplatz.h"
#include "platform/wayland/sway_desktopfenster.h"
#include "platform/wayland/sway_fenster.h"
#include "platform/wayland/sway_ipc.h"
#include "platform/wayland/sway_eigene_fenster.h"
#include "platform/wayland/sway_tastenkuerzel.h"
#include "platform/wayland/virtuelle_tastatur.h"
#include "platform/wayland/virtueller_zeiger.h"
#include "platform/wayland/wayland_abgriff.h"
#include "platform/wayland/wayland_eingabe.h"
#include "platform/wayland/wayland_zwischenablage.h"

namespace klebwerk::wayland {

// Qt's screens; a Wayland compositor composes every window, so translucency always works.
class WaylandBildschirme : public linuxdesk::QtBildschirme {
public:
    bool durchscheinend() override { return true; }
};

// A sway session: the compositor's IPC for windows, the workspace, global shortcuts and
// Klebwerk's own windows, data control for the clipboard, a virtual keyboard and pointer,
// a layer-shell overlay for the choose click, AT-SPI paired with sway's windows, and the Linux
// services. Create it after the Qt application object, with `ipc` the session's socket.
class WaylandDesktop {
public:
    explicit WaylandDesktop(SwayIpc ipc);
    Plattform plattform();
    // Logs why the clipboard, the keyboard, the pointer or the overlay cannot work, where
    // one cannot.
    void meldeStoerungen();

    linuxdesk::QtLaufschleife schleife;
    SwayIpc ipc;
    SwayFensterdienst dienst{ipc};
    SwayFensterliste fensterliste{dienst};
    SwayArbeitsplatz arbeitsplatz{dienst, ipc, schleife};
    // The views that accessible windows are paired with.
    SwayDesktopFenster desktopFenster{dienst, ipc};
    atspi::AtspiZugaenglichkeit ax{desktopFenster, arbeitsplatz, schleife};
    WaylandZwischenablage ablage{schleife};
    VirtuelleTastatur tastatur;
    VirtuellerZeiger zeiger;
    // The choose click and the recorded keys: an overlay above every output.
    WaylandAbgriff abgriff{schleife};
    WaylandEingabe eingabe{tastatur, dienst, &zeiger, &abgriff};
    // Global shortcuts as the compositor's own bindings, heard through its IPC.
    SwayTastenkuerzel kuerzel{ipc, schleife};
    linuxdesk::LinuxPraeferenzen praeferenzen;
    WaylandBildschirme bildschirme;
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
    SwayEigeneFenster eigeneFenster{ipc, schleife};
};

}  // namespace klebwerk::wayland
