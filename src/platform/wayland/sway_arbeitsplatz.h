#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <set>

#include "platform/arbeitsplatz.h"
#include "platform/laufschleife.h"
#include "platform/linux/anwendungskatalog.h"
#include "platform/linux/anwendungsende_abos.h"
#include "platform/linux/prozessende.h"
#include "platform/wayland/sway_fenster.h"

namespace klebwerk::wayland {

// The workspace in a sway session. A running application is a process that has windows
// in sway's tree (plus this process itself): its pid, the executable from /proc, a name
// and key from its desktop entry or app id. The frontmost one owns the focused window
// (this program's own windows left out);
// activation gives the focus to its front window through the IPC. Processes are watched
// for their end from their first window on, which sway's window events announce.
class SwayArbeitsplatz : public Arbeitsplatz {
public:
    SwayArbeitsplatz(const SwayFensterdienst& dienst, const SwayIpc& ipc, Laufschleife& schleife);
    ~SwayArbeitsplatz() override;

    std::vector<Anwendung> laufende() override;
    std::optional<Anwendung> anwendung(int pid) override;
    std::optional<Anwendung> vorderste() override;
    // sway raises one window at a time: the front window of the process gets the focus.
    bool aktiviere(int pid, bool alleFenster) override;
    Marke beiBeendet(std::function<void(const Anwendung&)> rueckruf) override;
    bool oeffne(const std::string& link) override;
    bool inPapierkorb(const std::string& pfad, std::string& fehler) override;
    int eigenePid() override { return eigenePid_; }

    // The application of one process, from the given windows (front to back).
    Anwendung anwendungAus(int pid, const std::vector<SwayFenster>& fenster);
    // Whether sway's window events are coming in.
    bool abonniert() const { return abo_ && abo_->bestaetigt(); }

private:
    void fensterEreignis(std::uint32_t typ, const std::string& daten);
    // Starts watching the processes of these windows; any thread.
    void erfasse(const std::vector<SwayFenster>& fenster);
    void beendet(int pid);

    const SwayFensterdienst& dienst_;
    linuxdesk::Anwendungskatalog katalog_;
    std::vector<std::string> sprachen_;
    int eigenePid_;
    linuxdesk::AnwendungsendeAbos abos_;
    std::mutex sperre_;
    std::map<int, Anwendung> bekannte_;  // processes with windows, watched for their end
    std::set<int> ohnePidfd_;            // of those, the ones only a closed window tells
    linuxdesk::Prozessende ende_;
    std::unique_ptr<SwayAbo> abo_;
};

}  // namespace klebwerk::wayland
