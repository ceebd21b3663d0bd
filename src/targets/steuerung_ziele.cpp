// The target list across restarts: "ziele" holds [pid, number, slot] per target in list
// order, "zielKennungen" the application key of each entry at the same position.

#include <algorithm>
#include <set>

#include <QJsonArray>

#include "basis/protokoll.h"
#include "app/steuerung.h"
#include "targets/fenster_suche.h"
#include "targets/zielspeicher.h"

namespace klebwerk {

namespace {

struct Gespeichert {
    std::vector<std::int64_t> eintrag;
    std::string kennung;
};

}  // namespace

void Steuerung::speichereZiele() {
    const auto kennungen = kennungenNachPid(plattform.arbeitsplatz);
    std::vector<Gespeichert> liste;
    for (const auto& z : verbunden) {
        auto k = kennungen.find(z->pid);
        liste.push_back({{z->pid, static_cast<std::int64_t>(z->nummer()), z->platz},
                         k == kennungen.end() ? std::string() : k->second});
    }
    auto offen = ausstehend;
    std::stable_sort(offen.begin(), offen.end(),
                     [](const Ausstehend& a, const Ausstehend& b) { return a.index < b.index; });
    for (const auto& a : offen) {
        const auto stelle = std::min<std::size_t>(static_cast<std::size_t>(std::max(a.index, 0L)), liste.size());
        liste.insert(liste.begin() + static_cast<std::ptrdiff_t>(stelle), {a.eintrag, a.kennung});
    }
    QJsonArray ziele, zielKennungen;
    for (const auto& g : liste) {
        QJsonArray eintrag;
        for (auto n : g.eintrag) eintrag.append(static_cast<qint64>(n));
        ziele.append(eintrag);
        zielKennungen.append(QString::fromStdString(g.kennung));
    }
    ud.setze("ziele", ziele);
    ud.setze("zielKennungen", zielKennungen);
}

void Steuerung::stelleZielWiederHer() {
    if (!vertraut || !verbunden.empty()) return;
    vergissVerschwundeneAbgewaehlte();

    std::vector<std::vector<std::int64_t>> liste;
    std::vector<std::string> kennungen;
    if (ud.wert("ziele").isUndefined()) {
        // Never stored as a list: the single active target of older settings.
        if (const auto pid = ud.ganzzahl("zielPid"); pid > 0) liste = {{pid, ud.ganzzahl("zielNummer"), 1}};
    } else {
        liste = ud.zahlenListen("ziele");
        kennungen = ud.texte("zielKennungen");
        if (kennungen.size() != liste.size()) kennungen.clear();
    }

    const auto laufend = kennungenNachPid(plattform.arbeitsplatz);
    const auto automatisch = autoApps();
    for (std::size_t k = 0; k < liste.size(); ++k) {
        // An entry that can name no window (too short, a process id no process has, a
        // window number out of range) is dropped.
        if (!eintragImBereich(liste[k])) continue;
        Ausstehend offen{liste[k], static_cast<long>(k), k < kennungen.size() ? kennungen[k] : std::string()};
        auto app = laufend.find(static_cast<int>(offen.eintrag[0]));
        std::shared_ptr<Ziel> z;
        if (app != laufend.end() && eintragGehoertZu(offen.kennung, app->second, automatisch)) {
            z = findeFenster(offen.eintrag);
        }
        if (!z) {
            ausstehend.push_back(std::move(offen));
            continue;
        }
        beobachte(z);
        verbunden.push_back(z);
    }
    for (const auto& z : verbunden) {
        if (z->platz == 0) z->platz = freierPlatz();
    }

    const auto pid = ud.ganzzahl("zielPid");
    const auto nummer = ud.ganzzahl("zielNummer");
    std::shared_ptr<Ziel> aktiv;
    for (const auto& z : verbunden) {
        if (z->pid == pid && z->nummer() == nummer) {
            aktiv = z;
            break;
        }
    }
    if (!aktiv && !verbunden.empty()) aktiv = verbunden.front();
    if (aktiv) aktiviere(aktiv, false);

    // Only applications whose windows really connected join the automatic connection: a
    // pending entry's process id may by now belong to an unrelated program.
    auto apps = automatisch;
    for (const auto& z : verbunden) {
        if (auto k = laufend.find(z->pid); k != laufend.end() && !k->second.empty()) apps.insert(k->second);
    }
    if (apps != automatisch) setzeAutoApps(apps);
}

void Steuerung::vergissVerschwundeneAbgewaehlte() {
    auto nummern = abgewaehlt();
    if (nummern.empty()) return;
    // The numbers only matter to the automatic connection, which reads the windows of
    // those applications alone; the window server adds what is on screen.
    std::set<std::int64_t> da;
    for (const FensterInfo& f : plattform.fensterliste.fenster()) da.insert(f.nummer);
    const auto automatisch = autoApps();
    for (const auto& [pid, kennung] : kennungenNachPid(plattform.arbeitsplatz)) {
        if (!automatisch.count(kennung)) continue;
        Element app = ax.anwendung(pid);
        ax.setzeZeitlimit(app, scanZeitlimit);
        auto fenster = ax.elemente(app, "AXWindows");
        // An application that did not answer may still have them: keep every number.
        if (!fenster) return;
        for (const Element& f : *fenster) {
            if (auto n = ax.fensterNummer(f)) da.insert(*n);
        }
    }
    std::set<std::int64_t> bleiben;
    for (auto n : nummern) {
        if (da.count(n)) bleiben.insert(n);
    }
    if (bleiben.size() != nummern.size()) setzeAbgewaehlt(bleiben);
}

}  // namespace klebwerk
