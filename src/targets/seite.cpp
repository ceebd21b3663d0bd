#include "targets/seite.h"

#include <deque>
#include <vector>

#include "ax/letztes_element.h"
#include "ax/rollen.h"

namespace klebwerk {

namespace {

// The web area lies near the window's top; a page's own tree is not searched beyond this.
constexpr long webBereichGrenze = 3000;
constexpr int liegtGrenze = 60;

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

const std::set<std::string>& textFelder() {
    static const std::set<std::string> rollen = {"AXTextArea", "AXTextField"};
    return rollen;
}

std::optional<Element> breitensuche(const AX& ax, const Element& wurzel, long grenze,
                                    const std::function<bool(const Element&, const std::string* rolle)>& besuche) {
    std::deque<Element> schlange{wurzel};
    long eingereiht = 1;
    while (!schlange.empty()) {
        const Element e = schlange.front();
        schlange.pop_front();
        const auto werte = ax.mehrere(e, {"AXRole", "AXChildren"});
        if (besuche(e, werte[0].als<std::string>())) return e;
        const auto* kinder = werte[1].als<WertListe>();
        if (!kinder) continue;
        for (const Wert& k : *kinder) {
            if (eingereiht >= grenze) break;
            if (const auto* kind = k.als<Element>()) {
                schlange.push_back(*kind);
                ++eingereiht;
            }
        }
    }
    return std::nullopt;
}

std::optional<Element> webBereichVon(const AX& ax, const Element& fenster) {
    if (auto abgefragt = webBereichAbgefragt(ax, fenster)) return *abgefragt;
    return breitensuche(ax, fenster, webBereichGrenze,
                        [](const Element&, const std::string* rolle) { return rolle && *rolle == "AXWebArea"; });
}

bool liegtIn(const AX& ax, const Element& element, const Element& behaelter) {
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

std::string eingabeTextVon(const AX& ax, const Element& app, const Element& fenster, bool browser) {
    const auto passt = [](const Element&, const std::optional<std::string>& rolle, const std::string&) {
        return rolle && textFelder().count(*rolle);
    };
    const auto fokus = ax.element(app, "AXFocusedUIElement");
    std::optional<Element> feld;
    const auto web = browser ? webBereichVon(ax, fenster) : std::nullopt;
    if (web) {
        if (fokus && liegtIn(ax, *fokus, *web)) feld = fokus;
        else feld = letztesElement(ax, *web, browserFeldGrenze, passt, textFelder());
    } else {
        auto rolle = fokus ? ax.text(*fokus, "AXRole") : std::nullopt;
        auto imFenster = fokus ? ax.element(*fokus, "AXWindow") : std::nullopt;
        if (rolle && eingabeRollen().count(*rolle) && imFenster && *imFenster == fenster) feld = fokus;
        else feld = letztesElement(ax, fenster, fensterFeldGrenze, passt, textFelder());
    }
    return feld ? getrimmterText(ax.wert(*feld, "AXValue")) : std::string();
}

}  // namespace klebwerk
