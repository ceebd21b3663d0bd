#include "diagnostics/browser_befehle.h"

#include <algorithm>
#include <set>
#include <vector>

#include "app/steuerung.h"
#include "basis/atomar.h"
#include "basis/einzeilig.h"
#include "basis/prozesswerte.h"
#include "diagnostics/befehlstext.h"
#include "targets/browser.h"
#include "targets/seite.h"

namespace klebwerk {

namespace {

constexpr long rollenGrenze = 400;
// An address from the page is written bounded, on one line.
constexpr std::size_t hoechsteAdresse = 2000;

const char* wahr(bool b) { return b ? "true" : "false"; }

// The distinct roles among the first elements of the tree, breadth first, sorted.
std::vector<std::string> rollenIm(const AX& ax, const Element& wurzel) {
    std::set<std::string> rollen;
    breitensuche(ax, wurzel, rollenGrenze, [&rollen](const Element&, const std::string* rolle) {
        if (rolle) rollen.insert(*rolle);
        return false;
    });
    return {rollen.begin(), rollen.end()};
}

std::string adressText(const Wert& w) {
    if (const auto* t = w.als<std::string>()) return einzeilig(*t, hoechsteAdresse);
    return w.fehlt() ? "-" : "?";
}

}  // namespace

void schreibeUrlDiagnose(Steuerung& s, const std::shared_ptr<Ziel>& z) {
    const std::string datei = datenOrdner() + "/url.txt";
    if (!z) {
        schreibeAtomar(datei, "kein Fenster");
        return;
    }
    const auto web = s.webBereich(*z);
    std::string text = "nr=" + std::to_string(z->nummer()) +
                       " browser=" + wahr(istBrowser(s.plattform.arbeitsplatz, z->pid)) + " web=" + wahr(web.has_value()) +
                       " feldAktiv=" + wahr(s.feldAktiv(*z));
    if (auto fokus = s.ax.element(z->app, "AXFocusedUIElement")) {
        const auto fenster = s.ax.element(*fokus, "AXWindow");
        text += " fokus=" + einzeilig(s.ax.text(*fokus, "AXRole").value_or("?"), 100) +
                " imFenster=" + wahr(fenster && *fenster == z->fenster) +
                " inWeb=" + wahr(web && s.liegt(*fokus, *web));
    } else {
        text += " fokus=keins";
    }
    if (web) text += " url=" + adressText(s.ax.wert(*web, "AXURL")) + " attrs=" + befehlsListe(s.ax.namen(*web));
    text += "\nrollen: " + befehlsListe(rollenIm(s.ax, z->fenster));
    schreibeAtomar(datei, text);
}

void schreibeKiListe(Steuerung& s) {
    std::string text;
    for (const auto& z : s.verbunden) {
        std::string jetzt = "-";
        if (auto ki = s.kiSeite(*z)) jetzt = *ki;
        else if (s.feldAktiv(*z)) jetzt = s.seitenName(*z);
        if (!text.empty()) text += '\n';
        text += s.name(z) + " | ki=" + z->ki.value_or("-") + " | jetzt=" + jetzt;
    }
    schreibeAtomar(datenOrdner() + "/ki.txt", text);
}

void verbindeFeldziel(Steuerung& s, const std::shared_ptr<Ziel>& fenster) {
    std::shared_ptr<Ziel> z = s.verbundenMit(fenster->fenster);
    const bool neu = !z;
    if (neu) z = fenster;
    z->ki = s.seitenName(*z);
    z->perFeld = true;
    if (neu) {
        z->platz = s.freierPlatz();
        s.beobachte(z);
        s.verbunden.push_back(z);
    }
    s.aktiviere(z, false);
}

}  // namespace klebwerk
