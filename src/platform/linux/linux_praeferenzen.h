#pragma once

#include <optional>
#include <string>

#include "platform/aufnahmewerkzeug.h"
#include "platform/praeferenzen.h"

namespace klebwerk::linuxdesk {

// Preference domains on Linux. Klebwerk keeps a JSON file of its own, one object
// per domain ({"com.apple.screencapture": {"location": "~/Bilder", "show-thumbnail":
// false}}), that a user or a test edits and that every write goes to; what it holds
// wins. For the screenshot tool's domain the locations otherwise come from the
// desktop's own settings: GNOME's Screenshots and Screencasts folders inside the XDG
// Pictures and Videos folders, KDE Spectacle's save locations from its configuration.
class LinuxPraeferenzen : public Praeferenzen {
public:
    // Empty: "praeferenzen.json" in the application's config folder, at each call.
    explicit LinuxPraeferenzen(std::string eigeneDatei = {});

    Wert lies(const std::string& domaene, const std::string& schluessel) override;
    void schreibe(const std::string& domaene, const std::string& schluessel, const Wert& wert) override;
    // Every write reaches the file at once; nothing is left to flush.
    void synchronisiere(const std::string&) override {}

    // The value the desktop keeps for a key of the screenshot tool's domain.
    static std::optional<std::string> vomDesktop(const std::string& schluessel);
    std::string datei() const;

private:
    std::string eigeneDatei_;
};

// The file names of GNOME's and KDE's screenshot and recording tools.
class LinuxAufnahmewerkzeug : public Aufnahmewerkzeug {
public:
    AufnahmeNamen namen() override;
};

// A folder of the XDG user directories ("PICTURES", "VIDEOS") from the text of
// user-dirs.dirs; absent when the file does not name it.
std::optional<std::string> xdgBenutzerordner(const std::string& inhalt, const std::string& art,
                                             const std::string& heim);
// A value of an INI-style configuration file, by group and key.
std::optional<std::string> iniWert(const std::string& inhalt, const std::string& gruppe,
                                   const std::string& schluessel);

}  // namespace klebwerk::linuxdesk
