#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/arbeitsplatz.h"
#include "platform/linux/fensterklasse.h"

namespace klebwerk::linuxdesk {

// One desktop entry (a .desktop file of the XDG applications folders), as far as
// naming an application needs it.
struct DesktopEintrag {
    std::string id;           // the file name without ".desktop" ("org.gnome.gedit")
    std::string name;         // Name
    std::vector<std::pair<std::string, std::string>> namen;  // Name[xx] by locale
    std::string wmKlasse;     // StartupWMClass
    std::string programm;     // the base name of Exec's program
    // Exec hands its program a script or a file to run ("python3 /usr/share/x/x.py",
    // "java -jar x.jar"): the program is an interpreter that runs other programs too.
    bool mitSkript = false;
    bool versteckt = false;   // Hidden=true: as if it did not exist
};

// Parses the [Desktop Entry] group of a desktop file.
DesktopEintrag liesDesktopEintrag(std::string_view text, std::string id);

// The entry's name for the first of the preferred languages it has ("de_DE", "de"),
// else its plain Name.
std::string lokalisierterName(const DesktopEintrag& e, const std::vector<std::string>& sprachen);

// The browsers' bundle identifiers, found from what Linux knows of a browser: its X
// window class (instance or class name; Chromium-based browsers append " (profile
// folder)" to it when started with their own profile), its desktop entry id, or its
// executable's base name. Empty when the application is none of them.
std::string browserKennung(const FensterKlasse& klasse, std::string_view desktopId, std::string_view programm);

// The key that names an application across launches: a browser's bundle identifier,
// else the id of its desktop entry, else its window class ("wmclass:" instance "/" class).
// Empty when there is none of them; the executable path then serves, which for an
// interpreter (python3, java, electron) would name every program it runs alike.
std::string anwendungsKennung(const FensterKlasse& klasse, std::string_view desktopId, std::string_view programm);

// The desktop entries of $XDG_DATA_HOME and $XDG_DATA_DIRS, read once and again
// when a lookup finds nothing and the last reading is older than a minute.
class Anwendungskatalog {
public:
    // The entry of an application with this window class and executable path. By the
    // executable alone only an entry that runs no script: an interpreter's entry would
    // claim every program the interpreter runs.
    std::optional<DesktopEintrag> finde(const FensterKlasse& klasse, const std::string& pfad);
    // Gives the application of process `a.pid`, running `a.pfad` with windows of this
    // class, its key and its name: the name of its desktop entry for the languages
    // `sprachen`, else the window class, else the process's command name.
    void benenne(Anwendung& a, const FensterKlasse& klasse, const std::vector<std::string>& sprachen);
    // For tests: a fixed list instead of the folders.
    void setzeEintraege(std::vector<DesktopEintrag> e);

private:
    void liesOrdner();
    std::optional<DesktopEintrag> suche(const FensterKlasse& klasse, const std::string& pfad) const;
    std::mutex sperre_;
    std::vector<DesktopEintrag> eintraege_;
    bool fest_ = false;
    double gelesen_ = -1e9;
};

}  // namespace klebwerk::linuxdesk
