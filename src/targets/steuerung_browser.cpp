// Browser windows as targets: a window counts while its tab shows an AI chat, or a
// page whose input field the user has just focused. The page's web area, its address,
// the field that has the focus, and the field a capture is pasted into.

#include <deque>

#include "app/sprache.h"
#include "app/steuerung.h"
#include "ax/letztes_element.h"
#include "ax/rollen.h"
#include "basis/protokoll.h"
#include "targets/browser.h"
#include "targets/ki_seiten.h"

namespace klebwerk {

namespace {

// The web area lies near the window's top; a page's own tree is not searched beyond this.
constexpr long webBereichGrenze = 3000;
constexpr int liegtGrenze = 60;
constexpr long browserFeldGrenze = 8000;

const std::set<std::string>& feldRollen() {
    static const std::set<std::string> rollen = {"AXTextArea", "AXTextField", "AXComboBox", "AXSearchField"};
    return rollen;
}

const std::set<std::string>& textFelder() {
    static const std::set<std::string> rollen = {"AXTextArea", "AXTextField"};
    return rollen;
}

// Browsers built on Chromium show their pages on the bus only when asked to at start.
bool chromiumArtig(const std::string& kennung) {
    static const std::set<std::string> kennungen = {
        "org.chromium.Chromium", "com.google.Chrome",      "com.google.Chrome.beta", "com.brave.Browser",
        "com.vivaldi.Vivaldi",   "com.operasoftware.Opera", "com.microsoft.edgemac",
    };
    return kennungen.count(kennung) > 0;
}

// The first web area in document order among the candidates of a role query, which
// answers last first; absent when the backend does not answer it.
std::optional<std::optional<Element>> webBereichAbgefragt(const AX& ax, const Element& fenster) {
    const std::vector<std::string> rollen{"AXWebArea"};
    if (!ax.backend().kandidatenGenau(fenster, rollen)) return std::nullopt;
    auto kandidaten = ax.backend().kandidatenRueckwaerts(fenster, rollen, 0, ax.frist(fenster));
    if (!kandidaten) return std::nullopt;
    for (auto it = kandidaten->rbegin(); it != kandidaten->rend(); ++it) {
        if (ax.text(*it, "AXRole") == "AXWebArea") return std::optional<Element>(*it);
    }
    return std::optional<Element>();
}

}  // namespace

std::optional<Element> Steuerung::webBereich(const Ziel& z) {
    ax.setze(z.app, "AXManualAccessibility", true);
    if (auto abgefragt = webBereichAbgefragt(ax, z.fenster)) return *abgefragt;
    // Breadth first. Everything queued is taken at most once, so the queue never holds
    // more than the budget: a window with thousands of children costs no more memory.
    std::deque<Element> schlange{z.fenster};
    long eingereiht = 1;
    while (!schlange.empty()) {
        const Element e = schlange.front();
        schlange.pop_front();
        const auto werte = ax.mehrere(e, {"AXRole", "AXChildren"});
        const auto* rolle = werte[0].als<std::string>();
        if (rolle && *rolle == "AXWebArea") return e;
        const auto* kinder = werte[1].als<WertListe>();
        if (!kinder) continue;
        for (const Wert& k : *kinder) {
            if (eingereiht >= webBereichGrenze) break;
            if (const auto* kind = k.als<Element>()) {
                schlange.push_back(*kind);
                ++eingereiht;
            }
        }
    }
    return std::nullopt;
}

std::optional<std::string> Steuerung::kiSeite(const Ziel& z) {
    if (!istBrowser(plattform.arbeitsplatz, z.pid)) return std::nullopt;
    const auto web = webBereich(z);
    if (web) {
        const Wert url = ax.wert(*web, "AXURL");
        if (!url.fehlt()) {
            const auto* text = url.als<std::string>();
            const Adressbefund befund = kiSeiteVonAdresse(text ? *text : std::string());
            return befund.gelesen ? befund.kiName : std::nullopt;
        }
    } else {
        meldeSeitenOhneZugang(z);
    }
    const std::string titel = ax.text(z.fenster, "AXTitle").value_or(z.titel);
    return kiSeiteVonTitel(titel);
}

void Steuerung::meldeSeitenOhneZugang(const Ziel& z) {
    if (chromiumOhneSeitenGemeldet) return;
    auto a = plattform.arbeitsplatz.anwendung(z.pid);
    if (!a || !chromiumArtig(a->kennung)) return;
    chromiumOhneSeitenGemeldet = true;
    protokoll("Browser zeigt seine Seiten nicht (" + einzeilig(a->name, 60) +
              "): \"klebwerk --chromium-zugang\" ausführen und den Browser neu starten");
}

std::string Steuerung::seitenName(const Ziel& z) {
    if (auto web = webBereich(z)) {
        if (auto url = ax.text(*web, "AXURL")) {
            if (auto host = hostVonAdresse(*url)) return *host;
        }
    }
    return L("Webseite", "Website");
}

bool Steuerung::liegt(const Element& element, const Element& behaelter) const {
    Element e = element;
    for (int i = 0; i < liegtGrenze; ++i) {
        if (e == behaelter) return true;
        if (i + 1 == liegtGrenze) break;
        auto eltern = ax.element(e, "AXParent");
        if (!eltern) return false;
        e = *eltern;
    }
    return false;
}

bool Steuerung::feldAktiv(const Ziel& z) {
    auto feld = ax.element(z.app, "AXFocusedUIElement");
    if (!feld) return false;
    auto rolle = ax.text(*feld, "AXRole");
    if (!rolle) return false;
    if (!feldRollen().count(*rolle)) {
        const Wert vorfahr = ax.wert(*feld, "AXEditableAncestor");
        if (vorfahr.fehlt() || *rolle != "AXGroup") return false;
    }
    auto fenster = ax.element(*feld, "AXWindow");
    if (!fenster || !(*fenster == z.fenster)) return false;
    auto web = webBereich(z);
    return web && liegt(*feld, *web);
}

bool Steuerung::bewerteBrowser(const std::shared_ptr<Ziel>& z) {
    if (auto ki = kiSeite(*z)) {
        z->ki = ki;
        z->perFeld = false;
        return true;
    }
    auto vorn = plattform.arbeitsplatz.vorderste();
    if (vorn && vorn->pid == z->pid) {
        if (feldAktiv(*z)) {
            z->ki = seitenName(*z);
            z->perFeld = true;
            return true;
        }
        z->ki.reset();
        z->perFeld = false;
        return false;
    }
    return z->perFeld && z->ki.has_value();
}

std::optional<std::string> Steuerung::browserZiel(const Ziel& z) {
    if (auto ki = kiSeite(z)) return ki;
    if (feldAktiv(z)) return seitenName(z);
    return std::nullopt;
}

void Steuerung::erkenneBrowserFenster(const Element& fenster, int pid) {
    if (auto t = verbundenMit(fenster)) {
        if (auto titel = ax.text(fenster, "AXTitle")) t->titel = *titel;
        if (bewerteBrowser(t)) {
            if (t == ziel) aktualisiereLeiste();
            else aktiviere(t, true);
            return;
        }
        protokoll("Browser-Tab ohne KI-Chat/Eingabefeld, aus der Liste: " + t->anzeige());
        entferne(t, true);
        return;
    }
    if (!vertraut || ax.text(fenster, "AXSubrole") != "AXStandardWindow") return;
    auto z = std::make_shared<Ziel>(ax, plattform.arbeitsplatz, fenster, pid);
    const auto nummer = z->nummer();
    if (nummer == 0 || abgewaehlt().count(nummer)) return;
    if (!bewerteBrowser(z)) return;
    z->platz = freierPlatz();
    beobachte(z);
    verbunden.push_back(z);
    protokoll("Browser-KI erkannt: " + name(z));
    aktiviere(z, true);
}

bool Steuerung::browserEingabe(const std::shared_ptr<Ziel>& z) {
    if (!istBrowser(plattform.arbeitsplatz, z->pid)) return false;
    const auto web = webBereich(*z);
    if (!web) return false;
    if (auto fokus = ax.element(z->app, "AXFocusedUIElement")) {
        auto rolle = ax.text(*fokus, "AXRole");
        if (rolle && eingabeRollen().count(*rolle) && liegt(*fokus, *web)) return true;
    }
    auto feld = letztesElement(
        ax, *web, browserFeldGrenze,
        [this](const Element& e, const std::optional<std::string>& rolle, const std::string&) {
            return rolle && textFelder().count(*rolle) && ax.wahr(e, "AXEnabled") != false;
        },
        textFelder());
    if (feld) {
        ax.setze(*feld, "AXFocused", true);
        protokoll("Browser-Modus: Eingabefeld der Seite fokussiert");
    } else {
        protokoll("Browser-Modus: kein Eingabefeld in der Seite gefunden");
    }
    return true;
}

std::string Steuerung::eingabeText(const std::shared_ptr<Ziel>& z) {
    const auto passt = [](const Element&, const std::optional<std::string>& rolle, const std::string&) {
        return rolle && textFelder().count(*rolle);
    };
    const auto fokus = ax.element(z->app, "AXFocusedUIElement");
    std::optional<Element> feld;
    const auto web = istBrowser(plattform.arbeitsplatz, z->pid) ? webBereich(*z) : std::nullopt;
    if (web) {
        if (fokus && liegt(*fokus, *web)) feld = fokus;
        else feld = letztesElement(ax, *web, browserFeldGrenze, passt, textFelder());
    } else {
        auto rolle = fokus ? ax.text(*fokus, "AXRole") : std::nullopt;
        auto fenster = fokus ? ax.element(*fokus, "AXWindow") : std::nullopt;
        if (rolle && eingabeRollen().count(*rolle) && fenster && *fenster == z->fenster) feld = fokus;
        else feld = letztesElement(ax, z->fenster, 6000, passt, textFelder());
    }
    return feld ? getrimmterText(ax.wert(*feld, "AXValue")) : std::string();
}

}  // namespace klebwerk
