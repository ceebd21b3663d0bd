#include "platform/x11/x11_desktop.h"

#include <climits>

#include <QGuiApplication>
#include <QLocale>
#include <QScreen>
#include <unistd.h>

#include "platform/x11/neustart_helfer.h"
#include "platform/x11/prozessstart.h"

namespace klebwerk::x11 {

std::vector<Bildschirm> QtBildschirme::alle() {
    std::vector<Bildschirm> liste;
    auto zuRechteck = [](const QRect& r) {
        return Rechteck{double(r.x()), double(r.y()), double(r.width()), double(r.height())};
    };
    QScreen* haupt = QGuiApplication::primaryScreen();
    if (haupt) liste.push_back({zuRechteck(haupt->geometry()), zuRechteck(haupt->availableGeometry())});
    for (QScreen* s : QGuiApplication::screens()) {
        if (s != haupt) liste.push_back({zuRechteck(s->geometry()), zuRechteck(s->availableGeometry())});
    }
    return liste;
}

std::string LinuxNeustart::eigenesProgramm() {
    char pfad[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", pfad, sizeof pfad - 1);
    if (n <= 0) return {};
    std::string programm(pfad, static_cast<size_t>(n));
    // A program file replaced while it runs (a package update) reads as "… (deleted)";
    // its path then names the new program.
    const std::string ersetzt = " (deleted)";
    if (programm.size() > ersetzt.size() && programm.ends_with(ersetzt)) programm.resize(programm.size() - ersetzt.size());
    return programm;
}

namespace {

// Where `cmake --install` and the Debian package put the program.
std::vector<std::string> installierteProgramme() {
    std::vector<std::string> orte;
#ifdef KLEBWERK_INSTALLIERTES_PROGRAMM
    orte.push_back(KLEBWERK_INSTALLIERTES_PROGRAMM);
#endif
    if (orte.empty() || orte.front() != "/usr/bin/klebwerk") orte.push_back("/usr/bin/klebwerk");
    return orte;
}

}  // namespace

bool LinuxNeustart::starte(const std::string& programm, const std::vector<std::string>& argumente) {
    return starteLoesgeloest(programm, argumente);
}

bool LinuxNeustart::starteNachEnde(const std::string& programm, const std::vector<std::string>& argumente,
                                   double verzoegerung) {
    const std::string selbst = eigenesProgramm();
    if (selbst.empty()) return false;
    return starteLoesgeloest(selbst, neustartAufruf(getpid(), verzoegerung, programm, argumente));
}

std::vector<std::string> QtSprachen::bevorzugt() {
    std::vector<std::string> liste;
    for (const QString& s : QLocale::system().uiLanguages()) liste.push_back(s.toStdString());
    return liste;
}

X11Desktop::X11Desktop()
    : arbeitsplatz(x, schleife), fensterliste(x, arbeitsplatz), ablage(x, schleife), tastatur(x), eingabe(x, tastatur),
      abgriff(x, tastatur, schleife),
      kuerzel(x, tastatur, schleife),
      anmeldeobjekt(LinuxNeustart().eigenesProgramm(), installierteProgramme()) {}

Plattform X11Desktop::plattform() {
    return Plattform{schleife, ax,          fensterliste, arbeitsplatz, ablage, eingabe, abgriff,
                     kuerzel,  praeferenzen, bildschirme, anmeldeobjekt, neustart, klang, befehle,
                     sprachen, ordner,      dateien,      beendigung, werkzeug, systemkuerzel, eigeneFenster};
}

}  // namespace klebwerk::x11
