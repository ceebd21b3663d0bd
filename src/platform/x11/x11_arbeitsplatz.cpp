#include "platform/x11/x11_arbeitsplatz.h"

#include <algorithm>
#include <set>

#include <QLocale>
#include <unistd.h>

#include "basis/prozesswerte.h"
#include "platform/linux/einstellungslink.h"
#include "platform/linux/papierkorb.h"
#include "platform/linux/prozessinfo.h"

namespace klebwerk::x11 {

using linuxdesk::ausfuehrbareDatei;
using linuxdesk::laeuft;
using linuxdesk::oeffnePidfd;

X11Arbeitsplatz::X11Arbeitsplatz(XVerbindung& x, Laufschleife& schleife)
    : x_(x), eigenePid_(static_cast<int>(getpid())), abos_(schleife) {
    for (const QString& s : QLocale::system().uiLanguages()) sprachen_.push_back(s.toStdString());
    fensterMarke_ = x_.beobachteFenster([this](std::uint32_t id, FensterAenderung a) { fensterGeaendert(id, a); });
    // Windows that were there before the observer.
    x_.aufX([this] {
        for (const auto& f : x_.fenster()) fensterGeaendert(f.id, FensterAenderung::neu);
    });
}

X11Arbeitsplatz::~X11Arbeitsplatz() {
    fensterMarke_.aufheben();
    std::map<int, Beobachtet> rest;
    {
        std::lock_guard lock(beobachtetSperre_);
        rest.swap(beobachtet_);
    }
    // Outside the lock: dropping a watcher waits for the X thread, which may be
    // waiting for that lock.
    for (auto& [pid, b] : rest) {
        b.leser.aufheben();
        if (b.pidfd >= 0) close(b.pidfd);
    }
}

Anwendung X11Arbeitsplatz::anwendungAus(int pid, const std::vector<XFenster>& fenster) {
    Anwendung a;
    a.pid = pid;
    a.pfad = ausfuehrbareDatei(pid);
    FensterKlasse klasse;
    bool normal = false;
    for (const auto& f : fenster) {
        if (f.pid != pid) continue;
        if (klasse.instanz.empty() && klasse.klasse.empty()) klasse = f.klasse;
        if (f.art == "normal") normal = true;
    }
    if (pid == eigenePid_) {
        a.kennung = kennung;
        a.name = "Klebwerk";
        a.art = Aktivierungsart::zubehoer;
        return a;
    }
    katalog_.benenne(a, klasse, sprachen_);
    a.art = normal ? Aktivierungsart::regulaer : Aktivierungsart::zubehoer;
    return a;
}

std::string X11Arbeitsplatz::besitzerName(const XFenster& f) {
    {
        std::lock_guard lock(beobachtetSperre_);
        auto it = beobachtet_.find(f.pid);
        if (it != beobachtet_.end() && !it->second.anwendung.name.empty()) return it->second.anwendung.name;
    }
    return anwendungAus(f.pid, {f}).name;
}

std::vector<Anwendung> X11Arbeitsplatz::laufende() {
    auto fenster = x_.fenster(true);
    std::set<int> pids{eigenePid_};
    for (const auto& f : fenster)
        if (f.pid > 0) pids.insert(f.pid);
    std::vector<Anwendung> liste;
    for (int pid : pids) {
        if (pid != eigenePid_ && !laeuft(pid)) continue;
        liste.push_back(anwendungAus(pid, fenster));
    }
    return liste;
}

std::optional<Anwendung> X11Arbeitsplatz::anwendung(int pid) {
    if (pid <= 0) return std::nullopt;
    if (pid != eigenePid_) {
        std::lock_guard lock(beobachtetSperre_);
        auto it = beobachtet_.find(pid);
        if (it != beobachtet_.end()) return it->second.anwendung;
    }
    auto fenster = x_.fenster(true);
    const bool hatFenster =
        std::any_of(fenster.begin(), fenster.end(), [pid](const XFenster& f) { return f.pid == pid; });
    if (pid != eigenePid_ && (!hatFenster || !laeuft(pid))) return std::nullopt;
    return anwendungAus(pid, fenster);
}

std::optional<Anwendung> X11Arbeitsplatz::vorderste() {
    auto f = x_.fensterMit(x_.aktivesFenster());
    if (!f || f->pid <= 0) return std::nullopt;
    return anwendungAus(f->pid, x_.fenster(true));
}

bool X11Arbeitsplatz::aktiviere(int pid, bool alleFenster) {
    if (pid <= 0) return false;
    std::vector<std::uint32_t> eigene;  // front to back, visible windows first
    auto fenster = x_.fenster(true);
    for (bool sichtbar : {true, false}) {
        for (const auto& f : fenster)
            if (f.pid == pid && f.sichtbar == sichtbar && f.schicht == 0) eigene.push_back(f.id);
    }
    if (eigene.empty()) {
        for (const auto& f : fenster)
            if (f.pid == pid) eigene.push_back(f.id);
    }
    if (eigene.empty()) return false;
    if (alleFenster) {
        // The others raised from back to front, so that their order stays.
        for (auto it = eigene.rbegin(); it + 1 != eigene.rend(); ++it) x_.hebeFenster(*it);
    }
    return x_.aktiviereFenster(eigene.front());
}

Marke X11Arbeitsplatz::beiBeendet(std::function<void(const Anwendung&)> rueckruf) {
    return abos_.abonniere(std::move(rueckruf));
}

// On the X thread: a process with windows is watched through a pidfd, which becomes
// readable when it ends. Where no pidfd can be had (an old kernel, a process of
// another pid namespace), the loss of its last window while the pid is gone counts.
void X11Arbeitsplatz::fensterGeaendert(std::uint32_t id, FensterAenderung a) {
    if (a == FensterAenderung::zerstoert) {
        std::vector<int> ohnePidfd;
        {
            std::lock_guard lock(beobachtetSperre_);
            for (const auto& [pid, b] : beobachtet_)
                if (b.pidfd < 0) ohnePidfd.push_back(pid);
        }
        if (ohnePidfd.empty()) return;
        auto fenster = x_.fenster(true);
        for (int pid : ohnePidfd) {
            bool hatFenster = std::any_of(fenster.begin(), fenster.end(), [pid](const XFenster& f) { return f.pid == pid; });
            if (!hatFenster && !laeuft(pid)) beendet(pid);
        }
        return;
    }
    auto f = x_.fensterMit(id);
    if (!f || f->pid <= 0 || f->eigenes) return;
    int pid = f->pid;
    {
        std::lock_guard lock(beobachtetSperre_);
        auto it = beobachtet_.find(pid);
        if (it != beobachtet_.end()) {
            if (a == FensterAenderung::zustand || a == FensterAenderung::neu)
                it->second.anwendung = anwendungAus(pid, x_.fenster(true));
            return;
        }
    }
    Beobachtet b;
    b.anwendung = anwendungAus(pid, x_.fenster(true));
    b.pidfd = oeffnePidfd(pid);
    if (b.pidfd >= 0) b.leser = x_.beiLesbar(b.pidfd, [this, pid] { beendet(pid); });
    std::lock_guard lock(beobachtetSperre_);
    beobachtet_.emplace(pid, std::move(b));
}

void X11Arbeitsplatz::beendet(int pid) {
    Anwendung anwendung;
    {
        std::lock_guard lock(beobachtetSperre_);
        auto it = beobachtet_.find(pid);
        if (it == beobachtet_.end()) return;
        anwendung = it->second.anwendung;
        it->second.leser.aufheben();
        if (it->second.pidfd >= 0) close(it->second.pidfd);
        beobachtet_.erase(it);
    }
    abos_.melde(anwendung);
}

bool X11Arbeitsplatz::oeffne(const std::string& link) {
    return linuxdesk::oeffneLink(link);
}

bool X11Arbeitsplatz::inPapierkorb(const std::string& pfad, std::string& fehler) {
    return linuxdesk::inDenPapierkorb(pfad, fehler);
}

int X11Arbeitsplatz::eigenePid() { return eigenePid_; }

}  // namespace klebwerk::x11
