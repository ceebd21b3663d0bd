#include "platform/wayland/sway_arbeitsplatz.h"

#include <algorithm>

#include <QLocale>
#include <unistd.h>

#include "basis/protokoll.h"
#include "basis/prozesswerte.h"
#include "platform/linux/einstellungslink.h"
#include "platform/linux/papierkorb.h"
#include "platform/linux/prozessinfo.h"

namespace klebwerk::wayland {

SwayArbeitsplatz::SwayArbeitsplatz(const SwayFensterdienst& dienst, const SwayIpc& ipc, Laufschleife& schleife)
    : dienst_(dienst), eigenePid_(static_cast<int>(getpid())), abos_(schleife),
      ende_([this](int pid) { beendet(pid); }) {
    for (const QString& s : QLocale::system().uiLanguages()) sprachen_.push_back(s.toStdString());
    abo_ = std::make_unique<SwayAbo>(
        ipc, std::vector<std::string>{"window"},
        [this](std::uint32_t typ, const std::string& daten) { fensterEreignis(typ, daten); },
        [](const std::string& grund) { protokoll("workspace: sway's window events ended: " + grund); });
    // The windows that were there before the subscription.
    FensterLesung lesung = dienst_.lies();
    if (lesung.gelesen()) erfasse(lesung.fenster);
    else protokoll("workspace: " + *lesung.fehler);
}

SwayArbeitsplatz::~SwayArbeitsplatz() { abo_.reset(); }

Anwendung SwayArbeitsplatz::anwendungAus(int pid, const std::vector<SwayFenster>& fenster) {
    Anwendung a;
    a.pid = pid;
    a.pfad = linuxdesk::ausfuehrbareDatei(pid);
    if (pid == eigenePid_) {
        a.kennung = kennung;
        a.name = "Klebwerk";
        a.art = Aktivierungsart::zubehoer;
        return a;
    }
    // A Wayland client names itself by its app id alone; an X program under XWayland
    // shows its window class there.
    linuxdesk::FensterKlasse klasse;
    for (const auto& f : fenster) {
        if (f.pid == pid && !f.appId.empty()) {
            klasse = {f.appId, f.appId};
            break;
        }
    }
    katalog_.benenne(a, klasse, sprachen_);
    // Every view in sway's tree is a top-level window of its own.
    a.art = Aktivierungsart::regulaer;
    return a;
}

std::vector<Anwendung> SwayArbeitsplatz::laufende() {
    FensterLesung lesung = dienst_.lies();
    if (!lesung.gelesen()) protokoll("running applications: " + *lesung.fehler);
    std::set<int> pids{eigenePid_};
    for (const auto& f : lesung.fenster)
        if (f.pid > 0) pids.insert(f.pid);
    std::vector<Anwendung> liste;
    for (int pid : pids) {
        if (pid != eigenePid_ && !linuxdesk::laeuft(pid)) continue;
        liste.push_back(anwendungAus(pid, lesung.fenster));
    }
    return liste;
}

std::optional<Anwendung> SwayArbeitsplatz::anwendung(int pid) {
    if (pid <= 0) return std::nullopt;
    if (pid != eigenePid_) {
        std::lock_guard lock(sperre_);
        auto it = bekannte_.find(pid);
        if (it != bekannte_.end()) return it->second;
    }
    FensterLesung lesung = dienst_.lies();
    const bool hatFenster = std::any_of(lesung.fenster.begin(), lesung.fenster.end(),
                                        [pid](const SwayFenster& f) { return f.pid == pid; });
    if (pid != eigenePid_ && (!hatFenster || !linuxdesk::laeuft(pid))) return std::nullopt;
    return anwendungAus(pid, lesung.fenster);
}

std::optional<Anwendung> SwayArbeitsplatz::vorderste() {
    FensterLesung lesung = dienst_.lies();
    if (!lesung.gelesen()) {
        protokoll("frontmost application: " + *lesung.fehler);
        return std::nullopt;
    }
    // This program's own windows (panel, hint, frame) never make it the frontmost
    // application: while one of them has the focus, the application in front is the
    // owner of the window that had the focus before it.
    const bool eigenesFokussiert = std::any_of(lesung.fenster.begin(), lesung.fenster.end(), [this](const SwayFenster& f) {
        return f.fokussiert && f.pid == eigenePid_;
    });
    for (const SwayFenster& f : lesung.fenster) {
        if (f.pid <= 0 || f.pid == eigenePid_) continue;
        if (f.fokussiert || (eigenesFokussiert && f.sichtbar)) return anwendungAus(f.pid, lesung.fenster);
    }
    return std::nullopt;
}

bool SwayArbeitsplatz::aktiviere(int pid, bool) {
    if (pid <= 0) return false;
    std::string fehler;
    if (dienst_.aktivierePid(pid, fehler)) return true;
    protokoll("activation of process " + std::to_string(pid) + ": " + fehler);
    return false;
}

Marke SwayArbeitsplatz::beiBeendet(std::function<void(const Anwendung&)> rueckruf) {
    return abos_.abonniere(std::move(rueckruf));
}

// On the subscription's thread: a new window may bring a new process; a closed one may
// be the last sign of a process that no pidfd watches.
void SwayArbeitsplatz::fensterEreignis(std::uint32_t typ, const std::string& daten) {
    if (typ != fensterEreignisArt) return;
    auto e = wayland::fensterEreignis(daten);
    if (!e || (e->art != "new" && e->art != "close" && e->art != "title")) return;
    FensterLesung lesung = dienst_.lies();
    if (!lesung.gelesen()) return;
    erfasse(lesung.fenster);
    if (e->art != "close") return;
    std::vector<int> still;
    {
        std::lock_guard lock(sperre_);
        for (int pid : ohnePidfd_) {
            bool hatFenster = std::any_of(lesung.fenster.begin(), lesung.fenster.end(),
                                          [pid](const SwayFenster& f) { return f.pid == pid; });
            if (!hatFenster && !linuxdesk::laeuft(pid)) still.push_back(pid);
        }
    }
    for (int pid : still) beendet(pid);
}

void SwayArbeitsplatz::erfasse(const std::vector<SwayFenster>& fenster) {
    std::set<int> pids;
    for (const auto& f : fenster)
        if (f.pid > 0 && f.pid != eigenePid_) pids.insert(f.pid);
    for (int pid : pids) {
        Anwendung a = anwendungAus(pid, fenster);
        bool neu;
        {
            std::lock_guard lock(sperre_);
            neu = bekannte_.count(pid) == 0;
            bekannte_[pid] = a;
        }
        if (!neu) continue;
        if (!ende_.beobachte(pid)) {
            std::lock_guard lock(sperre_);
            ohnePidfd_.insert(pid);
        }
    }
}

void SwayArbeitsplatz::beendet(int pid) {
    Anwendung anwendung;
    {
        std::lock_guard lock(sperre_);
        auto it = bekannte_.find(pid);
        if (it == bekannte_.end()) return;
        anwendung = it->second;
        bekannte_.erase(it);
        ohnePidfd_.erase(pid);
    }
    abos_.melde(anwendung);
}

bool SwayArbeitsplatz::oeffne(const std::string& link) { return linuxdesk::oeffneLink(link); }

bool SwayArbeitsplatz::inPapierkorb(const std::string& pfad, std::string& fehler) {
    return linuxdesk::inDenPapierkorb(pfad, fehler);
}

}  // namespace klebwerk::wayland
