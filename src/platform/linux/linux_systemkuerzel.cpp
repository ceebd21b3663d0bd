#include "platform/linux/linux_systemkuerzel.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include <sys/stat.h>

#include "basis/ordner.h"

namespace klebwerk::linuxdesk {

namespace {

const std::string gnomeSchema = "org.gnome.shell.keybindings";
const std::string kdeDatei = "kglobalshortcutsrc";

// Modification time and size of a file, "-" when it is not there.
std::string dateiStand(const std::string& pfad) {
    struct stat st {};
    if (::stat(pfad.c_str(), &st) != 0) return "-";
    return std::to_string(st.st_mtim.tv_sec) + "." + std::to_string(st.st_mtim.tv_nsec) + "/" +
           std::to_string(st.st_size);
}

bool weiter(const SystemKuerzelLesung& l) { return l.stand == SystemKuerzelLesung::Stand::unbekannt; }

}  // namespace

KuerzelDesktop kuerzelDesktopAus(const std::string& xdgAktuellerDesktop) {
    if (xdgAktuellerDesktop.find("KDE") != std::string::npos) return KuerzelDesktop::kde;
    if (xdgAktuellerDesktop.find("GNOME") != std::string::npos) return KuerzelDesktop::gnome;
    return KuerzelDesktop::anderer;
}

LinuxSystemkuerzel::LinuxSystemkuerzel() {
    orte_.konfigOrdner = xdgConfigOrdner();
    const char* d = std::getenv("XDG_CURRENT_DESKTOP");
    orte_.desktop = d ? d : "";
}

LinuxSystemkuerzel::LinuxSystemkuerzel(Orte orte) : orte_(std::move(orte)) {}

std::string LinuxSystemkuerzel::fassung() {
    std::string f = dateiStand(orte_.konfigOrdner + "/dconf/user") + " " +
                    dateiStand(orte_.konfigOrdner + "/" + kdeDatei);
    if (!orte_.schluesselDatei.empty()) f += " " + dateiStand(orte_.schluesselDatei);
    return f;
}

KuerzelDesktop LinuxSystemkuerzel::desktop() { return kuerzelDesktopAus(orte_.desktop); }

SystemKuerzelLesung LinuxSystemkuerzel::lies(int nummer) {
    std::string gnomeSchluessel, kdeAktion, kdeWerkseitig;
    if (nummer == 30) {
        gnomeSchluessel = "show-screenshot-ui";
        kdeAktion = "RectangularRegionScreenShot";
        kdeWerkseitig = "Meta+Shift+Print";
    } else if (nummer == 184) {
        gnomeSchluessel = "show-screen-recording-ui";
        kdeAktion = "_launch";
        kdeWerkseitig = "Print";
    } else {
        return {};
    }
    const bool kdeZuerst = orte_.desktop.find("KDE") != std::string::npos;
    SystemKuerzelLesung l = kdeZuerst ? vonKde(kdeAktion, kdeWerkseitig) : vonGnome(gnomeSchluessel);
    if (weiter(l)) l = kdeZuerst ? vonGnome(gnomeSchluessel) : vonKde(kdeAktion, kdeWerkseitig);
    return l;
}

SystemKuerzelLesung LinuxSystemkuerzel::vonGnome(const std::string& schluessel) {
    if (!gnome_) gnome_ = std::make_unique<GnomeEinstellungen>(orte_.schemaOrdner, orte_.schluesselDatei);
    GnomeListe liste = gnome_->liesListe(gnomeSchema, schluessel);
    switch (liste.stand) {
        case GnomeListe::Stand::da:
            return gtkBelegung(liste.werte);
        case GnomeListe::Stand::keinSchema:
            return {};
        case GnomeListe::Stand::fehler:
            break;
    }
    SystemKuerzelLesung l;
    l.stand = SystemKuerzelLesung::Stand::fehler;
    l.fehler = "GNOME: " + liste.fehler;
    return l;
}

SystemKuerzelLesung LinuxSystemkuerzel::vonKde(const std::string& aktion, const std::string& werkseitig) {
    const std::string pfad = orte_.konfigOrdner + "/" + kdeDatei;
    struct stat st {};
    if (::stat(pfad.c_str(), &st) != 0 && errno == ENOENT) return {};  // no KDE here
    std::ifstream datei;
    std::string inhalt;
    if (S_ISREG(st.st_mode)) {
        datei.open(pfad, std::ios::binary);
        if (datei) inhalt.assign(std::istreambuf_iterator<char>(datei), {});
    }
    if (!S_ISREG(st.st_mode) || !datei || datei.bad()) {
        SystemKuerzelLesung l;
        l.stand = SystemKuerzelLesung::Stand::fehler;
        l.fehler = pfad + ": nicht lesbar";
        return l;
    }
    return spectacleKuerzel(inhalt, aktion, werkseitig);
}

}  // namespace klebwerk::linuxdesk
