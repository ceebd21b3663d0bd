#include "platform/wayland/sway_fenster.h"

#include <unistd.h>

#include "basis/protokoll.h"

namespace klebwerk::wayland {

FensterLesung SwayFensterdienst::lies() const {
    FensterLesung lesung;
    IpcAntwort antwort = ipc_.anfrage(IpcArt::baum, {}, frist_);
    if (!antwort.gelungen()) {
        lesung.fehler = antwort.fehler;
        return lesung;
    }
    auto fenster = fensterAusBaum(*antwort.daten);
    if (!fenster) {
        lesung.fehler = "sway's window tree was unreadable";
        return lesung;
    }
    lesung.fenster = std::move(*fenster);
    return lesung;
}

std::optional<SwayFenster> SwayFensterdienst::fokussiertes(std::string& fehler) const {
    FensterLesung lesung = lies();
    if (!lesung.gelesen()) {
        fehler = *lesung.fehler;
        return std::nullopt;
    }
    for (const SwayFenster& f : lesung.fenster)
        if (f.fokussiert) return f;
    return std::nullopt;
}

bool SwayFensterdienst::aktiviere(std::int64_t conId, std::string& fehler) const {
    IpcAntwort antwort = ipc_.anfrage(IpcArt::befehl, "[con_id=" + std::to_string(conId) + "] focus", frist_);
    if (!antwort.gelungen()) {
        fehler = antwort.fehler;
        return false;
    }
    return befehlGelungen(*antwort.daten, fehler);
}

bool SwayFensterdienst::aktivierePid(int pid, std::string& fehler) const {
    FensterLesung lesung = lies();
    if (!lesung.gelesen()) {
        fehler = *lesung.fehler;
        return false;
    }
    const SwayFenster* ziel = nullptr;
    for (const SwayFenster& f : lesung.fenster) {
        if (f.pid != pid) continue;
        if (!ziel || (f.sichtbar && !ziel->sichtbar)) ziel = &f;
        if (ziel->sichtbar) break;
    }
    if (!ziel) {
        fehler = "no window of process " + std::to_string(pid);
        return false;
    }
    return aktiviere(ziel->conId, fehler);
}

SwayFensterliste::SwayFensterliste(const SwayFensterdienst& dienst)
    : dienst_(dienst), eigenePid_(static_cast<int>(getpid())) {}

std::vector<FensterInfo> SwayFensterliste::fenster() {
    FensterLesung lesung = dienst_.lies();
    if (!lesung.gelesen()) {
        protokoll("window list: " + *lesung.fehler);
        return {};
    }
    std::vector<FensterInfo> liste;
    for (const SwayFenster& f : lesung.fenster) {
        if (!f.sichtbar || f.pid == eigenePid_) continue;
        FensterInfo info;
        info.nummer = f.conId;
        info.pid = f.pid;
        info.rahmen = f.rahmen;
        info.titel = f.titel;
        info.besitzer = f.appId;
        liste.push_back(std::move(info));
    }
    return liste;
}

}  // namespace klebwerk::wayland
