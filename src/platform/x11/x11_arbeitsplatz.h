#pragma once

#include <map>
#include <memory>
#include <mutex>

#include "platform/arbeitsplatz.h"
#include "platform/laufschleife.h"
#include "platform/linux/anwendungskatalog.h"
#include "platform/linux/anwendungsende_abos.h"
#include "platform/x11/x_verbindung.h"

namespace klebwerk::x11 {

// The workspace on Linux. A running application is a process that has top-level
// windows in the window manager's client list (plus this process itself): its pid,
// the executable from /proc, a name and key from its desktop entry or window class.
// It is "regular" when one of its windows is a normal top-level window; this
// process is never regular.
//
// The key (`kennung`) names the same program across launches (`anwendungsKennung`): a
// browser's bundle identifier, else the id of its desktop entry, else its window class,
// else empty (the executable path then serves as the application key).
class X11Arbeitsplatz : public Arbeitsplatz {
public:
    X11Arbeitsplatz(XVerbindung& x, Laufschleife& schleife);
    ~X11Arbeitsplatz() override;

    std::vector<Anwendung> laufende() override;
    // From the applications the X thread keeps current as their windows come and
    // change; only a process not seen there yet is looked up in /proc.
    std::optional<Anwendung> anwendung(int pid) override;
    std::optional<Anwendung> vorderste() override;
    bool aktiviere(int pid, bool alleFenster) override;
    Marke beiBeendet(std::function<void(const Anwendung&)> rueckruf) override;
    bool oeffne(const std::string& link) override;
    bool inPapierkorb(const std::string& pfad, std::string& fehler) override;
    int eigenePid() override;

    // The application of one process, from the given windows (front to back).
    Anwendung anwendungAus(int pid, const std::vector<XFenster>& fenster);
    // The name the window list gives as a window's owner.
    std::string besitzerName(const XFenster& f);
    linuxdesk::Anwendungskatalog& katalog() { return katalog_; }

private:
    struct Beobachtet {
        Anwendung anwendung;
        int pidfd = -1;
        Marke leser;
    };
    void fensterGeaendert(std::uint32_t id, FensterAenderung a);
    void beendet(int pid);

    XVerbindung& x_;
    linuxdesk::Anwendungskatalog katalog_;
    std::vector<std::string> sprachen_;
    int eigenePid_;
    linuxdesk::AnwendungsendeAbos abos_;
    // Processes with windows, watched on the X thread for their end.
    std::mutex beobachtetSperre_;
    std::map<int, Beobachtet> beobachtet_;
    Marke fensterMarke_;
};

}  // namespace klebwerk::x11
