// Browser windows as targets: a window counts while its tab shows an AI chat, or a
// page whose input field the user has just focused. The page's web area, its address,
// the field that has the focus, and the field a capture is pasted into.

#include "app/sprache.h"
#include "app/steuerung.h"
#include "ax/letztes_element.h"
#include "ax/rollen.h"
#include "basis/protokoll.h"
#include "targets/browser.h"
#include "targets/ki_seiten.h"
#include "targets/seite.h"

namespace klebwerk {

namespace {

// The roles of an editable field that the user may have focused in a page.
const std::set<std::string>& feldRollen() {
    static const std::set<std::string> rollen = {"AXTextArea", "AXTextField", "AXComboBox", "AXSearchField"};
    return rollen;
}

// How long a browser may take to show its pages once asked.
constexpr double seitenGeduld = 10.0;

// Browsers built on Chromium show their pages on the bus only when asked to at start.
bool chromiumArtig(const std::string& kennung) {
    static const std::set<std::string> kennungen = {
        "org.chromium.Chromium", "com.google.Chrome",      "com.google.Chrome.beta", "com.brave.Browser",
        "com.vivaldi.Vivaldi",   "com.operasoftware.Opera", "com.microsoft.edgemac",
    };
    return kennungen.count(kennung) > 0;
}

}  // namespace

std::optional<Element> Steuerung::webBereich(const Ziel& z) {
    ax.setze(z.app, "AXManualAccessibility", true);
    return webBereichVon(ax, z.fenster);
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
    // Asked for its pages, the browser builds them within moments: only a page still
    // missing a while after the first miss is worth the user's attention.
    const auto [erster, neu] = ohneSeiteSeit.emplace(z.pid, schleife.jetzt());
    if (schleife.jetzt() - erster->second < seitenGeduld) return;
    chromiumOhneSeitenGemeldet = true;
    protokoll("Browser zeigt seine Seiten nicht (" + einzeilig(a->name, 60) +
              "): den Browser neu starten; hilft das nicht, \"klebwerk --chromium-zugang\" ausführen");
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
    return liegtIn(ax, element, behaelter);
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
    return eingabeTextVon(ax, z->app, z->fenster, istBrowser(plattform.arbeitsplatz, z->pid)).value_or("");
}

}  // namespace klebwerk
