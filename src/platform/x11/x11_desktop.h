#pragma once

#include <memory>

#include "platform/plattform.h"
#include "platform/x11/atspi_zugaenglichkeit.h"
#include "platform/x11/dbus_befehlskanal.h"
#include "platform/x11/inotify_ordnerereignisse.h"
#include "platform/x11/linux_dateiinfo.h"
#include "platform/x11/linux_praeferenzen.h"
#include "platform/x11/qt_laufschleife.h"
#include "platform/x11/signal_beendigung.h"
#include "platform/x11/x11_arbeitsplatz.h"
#include "platform/x11/x11_fensterliste.h"
#include "platform/x11/x11_zwischenablage.h"
#include "platform/x11/x_verbindung.h"
#include "platform/x11/xdg_anmeldeobjekt.h"

namespace klebwerk::x11 {

// Services that later work fills in; until then each answers "nothing".
class LeereEingabe : public Eingabe {
public:
    void taste(std::uint16_t, std::uint64_t, std::optional<int>) override {}
    void maus(Maustaste, bool, Punkt) override {}
    void bewegeZeiger(Punkt) override {}
    Punkt zeiger() override { return {}; }
    double leerlauf() override { return 0; }
    std::uint64_t gehalteneFlaggen() override { return 0; }
    std::string zeichen(std::uint16_t) override { return {}; }
};

class LeererAbgriff : public Ereignisabgriff {
public:
    Marke starte(const AbgriffRegel&, std::function<void(const AbgriffEreignis&)>) override { return {}; }
};

class LeereTastenkuerzel : public Tastenkuerzel {
public:
    int registriere(std::uint32_t, std::uint16_t, std::uint32_t) override { return -1; }
    void entferne(std::uint32_t) override {}
    void beiDruck(std::function<void(std::uint32_t)>) override {}
};

class QtBildschirme : public Bildschirme {
public:
    std::vector<Bildschirm> alle() override;
    bool durchscheinend() override;
};

class LinuxNeustart : public Neustart {
public:
    std::string eigenesProgramm() override;
    bool starte(const std::string& programm, const std::vector<std::string>& argumente) override;
};

class LeererKlangspieler : public Klangspieler {
public:
    void spiele(const std::string&) override {}
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
    AtspiZugaenglichkeit ax{fensterliste, arbeitsplatz};
    X11Zwischenablage ablage;
    LeereEingabe eingabe;
    LeererAbgriff abgriff;
    LeereTastenkuerzel kuerzel;
    LinuxPraeferenzen praeferenzen;
    QtBildschirme bildschirme;
    LinuxNeustart neustart;
    XdgAnmeldeobjekt anmeldeobjekt;
    LeererKlangspieler klang;
    DbusBefehlskanal befehle;
    QtSprachen sprachen;
    InotifyOrdnerereignisse ordner;
    LinuxDateiinfo dateien;
    SignalBeendigung beendigung;
    LinuxAufnahmewerkzeug werkzeug;
};

}  // namespace klebwerk::x11
