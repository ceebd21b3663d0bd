// Making a target active, removing it, replacing it, and the names under which
// targets appear.

#include <algorithm>
#include <set>

#include <QJsonArray>

#include "basis/protokoll.h"
#include "app/sprache.h"
#include "app/steuerung.h"
#include "targets/browser.h"
#include "targets/fenster_suche.h"

namespace klebwerk {

namespace {
const QColor systemGruen(52, 199, 89);
}  // namespace

std::set<std::int64_t> Steuerung::abgewaehlt() const {
    auto zahlen = ud.zahlen("abgewaehlt");
    return {zahlen.begin(), zahlen.end()};
}

void Steuerung::setzeAbgewaehlt(const std::set<std::int64_t>& nummern) {
    QJsonArray a;
    for (auto n : nummern) a.append(static_cast<qint64>(n));
    ud.setze("abgewaehlt", a);
}

std::set<std::string> Steuerung::autoApps() const {
    std::set<std::string> kennungen;
    for (const auto& k : ud.texte("autoApps")) {
        if (!browserKennungen().count(k)) kennungen.insert(k);
    }
    return kennungen;
}

void Steuerung::setzeAutoApps(const std::set<std::string>& kennungen) {
    QJsonArray a;
    for (const auto& k : kennungen) {
        if (!browserKennungen().count(k)) a.append(QString::fromStdString(k));
    }
    ud.setze("autoApps", a);
}

void Steuerung::aktiviere(const std::shared_ptr<Ziel>& z, bool zeigen) {
    ziel = z;
    if (zeigen) {
        if (auto r = ax.rahmen(z->fenster)) rahmen.zeige(*r, systemGruen, 1.5);
        hinweis.zeige(L("✓ Ziel: ", "✓ Target: ") + name(z), 2.5);
    }
    protokoll("Aktives Ziel: " + z->anzeige() + " (" + name(z) + ")");
    ud.setzeGanzzahl("zielPid", z->pid);
    ud.setzeGanzzahl("zielNummer", z->nummer());
    speichereZiele();
    aktualisiereLeiste();
}

void Steuerung::entferne(const std::shared_ptr<Ziel>& z, bool still) {
    if (!z) return;
    z->beobachter.aufheben();
    const bool warAktiv = ziel == z;
    verbunden.erase(std::remove(verbunden.begin(), verbunden.end(), z), verbunden.end());
    if (wacheZiel == z) stoppeWache();
    protokoll("Ziel entfernt: " + z->anzeige());
    if (warAktiv && !verbunden.empty()) {
        aktiviere(verbunden.front(), false);
        if (!still) {
            hinweis.zeige(L("Fenster geschlossen – Ziel jetzt: ", "Window closed – target now: ") + name(ziel), 3.0);
        }
    } else if (warAktiv) {
        ziel.reset();
        schlange.clear();
        stoppeDiktat();
        ud.entferne("zielNummer");
        if (!still) {
            hinweis.zeige(L("Zielfenster geschlossen – neues Ziel wählen", "Target window closed – choose a new target"),
                          4.0);
        }
    }
    speichereZiele();
    aktualisiereLeiste();
}

void Steuerung::merkeAbgewaehlt(const std::shared_ptr<Ziel>& z) {
    auto nummern = abgewaehlt();
    nummern.insert(z->nummer());
    setzeAbgewaehlt(nummern);
}

void Steuerung::setzeZiel(const std::shared_ptr<Ziel>& kandidat) {
    std::optional<long> bevorzugt;
    if (auto r = std::exchange(wahlErsetzt, nullptr)) {
        if (!(r->fenster == kandidat->fenster)) {
            bevorzugt = r->platz;
            merkeAbgewaehlt(r);
            entferne(r, true);
        }
    }
    std::shared_ptr<Ziel> t = verbundenMit(kandidat->fenster);
    if (!t) t = kandidat;
    auto nummern = abgewaehlt();
    if (nummern.erase(t->nummer())) setzeAbgewaehlt(nummern);
    if (auto k = appKennung(plattform.arbeitsplatz, t->pid)) {
        auto apps = autoApps();
        apps.insert(*k);
        setzeAutoApps(apps);
    }
    if (std::find(verbunden.begin(), verbunden.end(), t) == verbunden.end()) verbinde(t, bevorzugt);
    aktiviere(t, true);
}

std::string Steuerung::basisName(const std::shared_ptr<Ziel>& z) const {
    if (istBrowser(plattform.arbeitsplatz, z->pid)) {
        std::string app = z->appName;
        for (size_t p; (p = app.find("Google ")) != std::string::npos;) app.erase(p, 7);
        return z->ki.value_or("Browser") + " \u00b7 " + app;
    }
    return z->titel.empty() ? z->appName : z->titel;
}

std::string Steuerung::name(const std::shared_ptr<Ziel>& z) const {
    if (!z) return {};
    const std::string basis = basisName(z);
    int gleiche = 0;
    for (const auto& v : verbunden) gleiche += basisName(v) == basis;
    if (gleiche < 2) return basis;
    return basis + " " + std::to_string(z->platz);
}

std::vector<std::string> Steuerung::namen() const {
    std::vector<std::string> basen;
    basen.reserve(verbunden.size());
    for (const auto& v : verbunden) basen.push_back(basisName(v));
    std::vector<std::string> liste;
    liste.reserve(verbunden.size());
    for (size_t i = 0; i < verbunden.size(); ++i) {
        const auto gleiche = std::count(basen.begin(), basen.end(), basen[i]);
        liste.push_back(gleiche < 2 ? basen[i] : basen[i] + " " + std::to_string(verbunden[i]->platz));
    }
    return liste;
}

}  // namespace klebwerk
