#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/marke.h"

namespace klebwerk {

// The link of the system's accessibility settings (the permission this process needs).
inline const std::string zugaenglichkeitsLink =
    "x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility";

// The link of the system's keyboard settings, where its own shortcuts are changed.
inline const std::string tastaturkuerzelLink = "x-apple.systempreferences:com.apple.Keyboard-Settings.extension";

enum class Aktivierungsart { regulaer, zubehoer, verboten };

// A running application.
struct Anwendung {
    int pid = 0;
    std::string kennung;  // bundle identifier; empty when it has none
    std::string pfad;     // executable path
    std::string name;     // localized name
    Aktivierungsart art = Aktivierungsart::regulaer;
    bool operator==(const Anwendung&) const = default;
};

// The workspace: running applications, activation, links, the trash.
class Arbeitsplatz {
public:
    virtual ~Arbeitsplatz() = default;

    virtual std::vector<Anwendung> laufende() = 0;
    // The running application with that process id; nothing when none runs. Backends
    // that keep their list current answer without making the whole list.
    virtual std::optional<Anwendung> anwendung(int pid) {
        for (Anwendung& a : laufende()) {
            if (a.pid == pid) return std::move(a);
        }
        return std::nullopt;
    }
    virtual std::optional<Anwendung> vorderste() = 0;
    // Brings the application (all its windows when `alleFenster`) to the front.
    virtual bool aktiviere(int pid, bool alleFenster) = 0;
    // Called on the main thread after an application has quit.
    virtual Marke beiBeendet(std::function<void(const Anwendung&)> rueckruf) = 0;
    // Opens a settings link; false when nothing could open it.
    virtual bool oeffne(const std::string& link) = 0;
    // Moves a file to the trash; on failure false and the system's error text.
    virtual bool inPapierkorb(const std::string& pfad, std::string& fehler) = 0;
    virtual int eigenePid() = 0;
};

}  // namespace klebwerk
