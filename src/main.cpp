// Klebwerk on the Linux desktop.

#include <iostream>
#include <string_view>

#include <QApplication>
#include <QTimer>

#include "app/einstellungen.h"
#include "basis/ordner.h"
#include "basis/prozesswerte.h"
#include "app/sprache.h"
#include "app/steuerung.h"
#include "chromium_zugang_befehl.h"
#include "platform/x11/neustart_helfer.h"
#include "platform/x11/signal_beendigung.h"
#include "platform/x11/x11_desktop.h"

int main(int argc, char** argv) {
    using namespace klebwerk;
    // The relaunch helper of the language switch never becomes an application.
    if (int status = x11::fuehreNeustartAus(argc, argv); status >= 0) return status;
    // Commands that only change files and end: no application, no desktop connection.
    for (int i = 1; i < argc; ++i) {
        std::string_view befehl = argv[i];
        if (befehl == "--chromium-zugang" || befehl == "--chromium-zugang-aus") {
            Einstellungen ud(einstellungsDatei());
            setzeEnglisch(englischAus(ud.text("sprache"), x11::QtSprachen().bevorzugt()));
            return chromiumZugangBefehl(befehl == "--chromium-zugang", std::cout, std::cerr);
        }
    }

    // Before any thread exists, so that every thread inherits it: SIGTERM is then
    // read from a signalfd by the event loop, never by a signal handler.
    x11::sperreBeendigungssignal();

    QApplication anwendung(argc, argv);
    anwendung.setApplicationName(QStringLiteral("Klebwerk"));
    anwendung.setDesktopFileName(QString::fromStdString(kennung));
    // An accessory: no main window; closing a window of its own never ends it.
    anwendung.setQuitOnLastWindowClosed(false);

    x11::X11Desktop desktop;
    Einstellungen ud(einstellungsDatei());
    setzeDatenOrdner(legeDatenOrdnerAn());
    setzeEnglisch(englischAus(ud.text("sprache"), desktop.sprachen.bevorzugt()));

    Plattform plattform = desktop.plattform();
    Steuerung steuerung(plattform, ud);
    QTimer::singleShot(0, &anwendung, [&steuerung] { steuerung.starte(); });
    // Every way out of the event loop (the quit item, a logout, SIGTERM) passes here.
    QObject::connect(&anwendung, &QCoreApplication::aboutToQuit, [&steuerung] { steuerung.beimBeenden(); });
    return anwendung.exec();
}
