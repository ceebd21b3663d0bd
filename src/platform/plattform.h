#pragma once

#include "platform/anmeldeobjekt.h"
#include "platform/arbeitsplatz.h"
#include "platform/aufnahmewerkzeug.h"
#include "platform/beendigung.h"
#include "platform/befehlskanal.h"
#include "platform/bildschirme.h"
#include "platform/dateiinfo.h"
#include "platform/eigene_fenster.h"
#include "platform/eingabe.h"
#include "platform/ereignisabgriff.h"
#include "platform/fensterliste.h"
#include "platform/klangspieler.h"
#include "platform/laufschleife.h"
#include "platform/neustart.h"
#include "platform/ordnerereignisse.h"
#include "platform/praeferenzen.h"
#include "platform/sprachen.h"
#include "platform/systemkuerzel.h"
#include "platform/tastenkuerzel.h"
#include "platform/zugaenglichkeit.h"
#include "platform/zwischenablage.h"

namespace klebwerk {

// Every operating-system service, as one backend provides them.
struct Plattform {
    Laufschleife& schleife;
    Zugaenglichkeit& ax;
    Fensterliste& fensterliste;
    Arbeitsplatz& arbeitsplatz;
    Zwischenablage& ablage;
    Eingabe& eingabe;
    Ereignisabgriff& abgriff;
    Tastenkuerzel& kuerzel;
    Praeferenzen& praeferenzen;
    Bildschirme& bildschirme;
    Anmeldeobjekt& anmeldeobjekt;
    Neustart& neustart;
    Klangspieler& klang;
    Befehlskanal& befehle;
    Sprachen& sprachen;
    Ordnerereignisse& ordner;
    Dateiinfo& dateien;
    Beendigung& beendigung;
    Aufnahmewerkzeug& werkzeug;
    Systemkuerzel& systemkuerzel;
    EigeneFenster& eigeneFenster;
};

}  // namespace klebwerk
