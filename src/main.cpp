// Klebwerk on the Linux desktop.

#include <chrono>
#include <iostream>
#include <string_view>
#include <thread>

#include <QApplication>
#include <QTimer>

#include "app/einstellungen.h"
#include "app/einzelstart.h"
#include "basis/ordner.h"
#include "basis/prozesswerte.h"
#include "app/sprache.h"
#include "app/steuerung.h"
#include "chromium_zugang_befehl.h"
#include "desktop_wahl.h"
#include "platform/linux/dbus_einzelinstanz.h"
#include "platform/linux/neustart_helfer.h"
#include "platform/linux/qt_sprachen.h"
#include "platform/linux/signal_beendigung.h"

int main(int argc, char** argv) {
    using namespace klebwerk;
    // The relaunch helper of the language switch never becomes an application.
    if (int status = linuxdesk::fuehreNeustartAus(argc, argv); status >= 0) return status;
    // Commands that only change files and end: no application, no desktop connection.
    for (int i = 1; i < argc; ++i) {
        std::string_view befehl = argv[i];
        if (befehl == "--chromium-zugang" || befehl == "--chromium-zugang-aus") {
            Einstellungen ud(einstellungsDatei());
            setzeEnglisch(englischAus(ud.text("sprache"), linuxdesk::QtSprachen().bevorzugt()));
            return chromiumZugangBefehl(befehl == "--chromium-zugang", std::cout, std::cerr);
        }
    }

    // Before any thread exists, so that every thread inherits it: SIGTERM is then
    // read from a signalfd by the event loop, never by a signal handler.
    linuxdesk::sperreBeendigungssignal();

    // sway's own backend in a sway session, else X11.
    auto sway = swaySitzung();
    waehleQtPlattform(sway.has_value());

    QApplication anwendung(argc, argv);
    anwendung.setApplicationName(QStringLiteral("Klebwerk"));
    anwendung.setDesktopFileName(QString::fromStdString(kennung));
    // An accessory: no main window; closing a window of its own never ends it.
    anwendung.setQuitOnLastWindowClosed(false);

    // Once per session: a second start calls the running instance, which shows its
    // panel, and ends before it has made a window or read a setting.
    linuxdesk::DbusEinzelinstanz instanz;
    Steuerung* laufende = nullptr;
    bool gerufenVorStart = false;
    const Startweg weg = entscheideStart(
        instanz,
        [&laufende, &gerufenVorStart] {
            if (laufende) laufende->holeFeldNachVorn();
            else gerufenVorStart = true;
        },
        // Only before anything runs: the instance that holds the name is just ending.
        [] { std::this_thread::sleep_for(std::chrono::milliseconds(100)); });
    switch (weg) {
        case Startweg::uebergeben:
            return 0;
        case Startweg::haengt:
            std::cerr << "Klebwerk läuft schon in dieser Sitzung, antwortet aber nicht.\n";
            return 1;
        case Startweg::ohneName:
            std::cerr << "Klebwerk: kein Sitzungsbus, ein zweiter Start wird nicht erkannt.\n";
            break;
        case Startweg::eigene:
            break;
    }

    Desktop desktop(std::move(sway));
    Einstellungen ud(einstellungsDatei());
    setzeDatenOrdner(legeDatenOrdnerAn());
    desktop.meldeStart();
    setzeEnglisch(englischAus(ud.text("sprache"), desktop.sprachen().bevorzugt()));

    Plattform plattform = desktop.plattform();
    Steuerung steuerung(plattform, ud);
    QTimer::singleShot(0, &anwendung, [&steuerung, &laufende, &gerufenVorStart] {
        steuerung.starte();
        laufende = &steuerung;
        if (gerufenVorStart) steuerung.holeFeldNachVorn();
    });
    // Every way out of the event loop (the quit item, a logout, SIGTERM) passes here.
    QObject::connect(&anwendung, &QCoreApplication::aboutToQuit, [&steuerung, &instanz] {
        steuerung.beimBeenden();
        // A relaunch waits for the name: it goes first, before the process has ended.
        instanz.gibAuf();
    });
    const int status = anwendung.exec();
    instanz.gibAuf();
    return status;
}
