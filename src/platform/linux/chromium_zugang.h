#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace klebwerk::linuxdesk {

// Chromium on Linux shows its pages on the accessibility bus only when it was started
// with --force-renderer-accessibility. The switch goes into the user's own copy of the
// browser's desktop entry: the same file name in $XDG_DATA_HOME/applications hides the
// system's entry from menus, launchers and "open with the default browser", so every
// start through the desktop gets it. The copy carries the key X-Klebwerk-Zugang=true;
// only copies with that key are ever replaced or removed, an entry of the user's own
// never.

inline constexpr std::string_view zugangsSchalter = "--force-renderer-accessibility";
inline constexpr std::string_view zugangsMarke = "X-Klebwerk-Zugang";

// The file names of the entries that get the switch, each with the browser's name:
// Chromium, and Google Chrome where it is installed.
struct ChromiumBrowser {
    std::string datei;  // "chromium.desktop"
    std::string name;   // "Chromium"
};
const std::vector<ChromiumBrowser>& chromiumBrowser();

enum class ZugangsStand {
    eingerichtet,        // the copy was written (new, or renewed from a changed system entry)
    unveraendert,        // the copy was there already with the same text
    entfernt,            // the copy was removed
    eigenerEintrag,      // an entry of the user's own has this name: left as it is
    eigenerMitSchalter,  // such an entry, and it starts the browser with the switch already
    keinSystemEintrag,   // the browser's entry is in none of $XDG_DATA_DIRS
    keinEintrag,         // there is no copy to remove
    unverstaendlich,     // the system entry has no [Desktop Entry] group or no readable Exec line
    fehler,              // reading, writing or understanding an entry failed: see `fehler`
};

struct ZugangsErgebnis {
    ChromiumBrowser browser;
    ZugangsStand stand = ZugangsStand::fehler;
    std::string pfad;    // the entry in $XDG_DATA_HOME/applications
    std::string quelle;  // the system entry it is copied from, where one was found
    std::string fehler;  // for ZugangsStand::fehler: the file or folder and the system's error text
};

// Writes (or renews) the copy for every browser whose system entry exists.
std::vector<ZugangsErgebnis> richteChromiumZugangEin();
// Removes the copies that carry the mark.
std::vector<ZugangsErgebnis> entferneChromiumZugang();

// The folders searched for the system entries: $XDG_DATA_DIRS ("/usr/local/share:/usr/share"
// when unset or empty), in order, without relative ones and without the data home itself.
std::vector<std::string> systemDatenOrdner();

// The arguments of an Exec value as written in the file: the string escapes (\s, \\, …)
// undone, then split at blanks, with double-quoted arguments whose \", \`, \$ and \\ stand
// for the character. Nothing when the value is empty or a quote is left open.
std::optional<std::vector<std::string>> execArgumente(std::string_view wert);

// The Exec value with the switch as the first argument of the browser's program: after
// the executable, after "env NAME=value …" where the value starts with env. Unchanged
// when the program has the switch already. Nothing when the value cannot be read.
std::optional<std::string> execMitSchalter(std::string_view wert);

// The copy of a system entry: every Exec line with the switch, the mark in the group
// [Desktop Entry] and a comment saying whose copy it is; every other line as it was.
// Nothing when the text has no [Desktop Entry] group, no Exec line or an Exec line that
// cannot be read.
std::optional<std::string> eintragMitZugang(std::string_view systemEintrag);

// The entry carries X-Klebwerk-Zugang=true in its [Desktop Entry] group.
bool traegtZugangsMarke(std::string_view eintrag);

// Every Exec line of the entry (there is at least one) starts the browser with the switch.
bool startetMitSchalter(std::string_view eintrag);

}  // namespace klebwerk::linuxdesk
