// Following connected windows: closed windows and quit applications leave the list,
// titles stay current, the active target follows the user's focus, and new windows of
// known applications connect by themselves.

#include "basis/protokoll.h"
#include "app/sprache.h"
#include "app/steuerung.h"
#include "targets/browser.h"
#include "targets/fenster_suche.h"
#include "targets/zielspeicher.h"

namespace klebwerk {

namespace {
constexpr double fokusZeitlimit = 0.2;
const std::string zerstoert = "AXUIElementDestroyed";
const std::string titelGeaendert = "AXTitleChanged";
}  // namespace

void Steuerung::beobachte(const std::shared_ptr<Ziel>& z) {
    ax.setze(z->app, "AXManualAccessibility", true);
    if (istBrowser(plattform.arbeitsplatz, z->pid)) bewerteBrowser(z);
    // The backend delivers on the main thread, never inside this call, and never after
    // the token, which the target keeps until it is removed, is dropped.
    z->beobachter = plattform.ax.beobachte(z->pid, z->fenster, {zerstoert, titelGeaendert},
                                           [this](const std::string& name, const Element& element) {
                                               fensterMeldung(element, name);
                                           });
}

void Steuerung::fensterMeldung(const Element& element, const std::string& name) {
    if (verbunden.empty()) return;
    for (const auto& t : std::vector<std::shared_ptr<Ziel>>(verbunden)) {
        const bool gueltig = t->gueltig();
        // Any notification also sweeps out every target whose window is gone.
        if (!(t->fenster == element) && gueltig) continue;
        if (name == zerstoert || !gueltig) {
            entferne(t, false);
            continue;
        }
        if (auto titel = ax.text(t->fenster, "AXTitle")) t->titel = *titel;
        if (!istBrowser(plattform.arbeitsplatz, t->pid) || bewerteBrowser(t)) {
            aktualisiereLeiste();
            continue;
        }
        protokoll("Browser-Tab ohne KI-Chat/Eingabefeld, aus der Liste: " + t->anzeige());
        entferne(t, true);
        // The tab may come back to the chat before the next focus poll, which would then
        // see the same window, title and field as before and judge nothing: it looks again.
        letzterFokus.reset();
    }
}

void Steuerung::pruefeFokus() {
    if (modus != Modus::keiner || beschaeftigt || schleife.jetzt() <= ruhigBis) return;
    auto vorn = plattform.arbeitsplatz.vorderste();
    if (!vorn) {
        letzterFokus.reset();
        return;
    }
    const bool browser = browserKennungen().count(vorn->kennung) > 0;
    if (!browser) {
        bool eigenesZiel = false;
        for (const auto& z : verbunden) eigenesZiel = eigenesZiel || z->pid == vorn->pid;
        if (!eigenesZiel) {
            letzterFokus.reset();
            return;
        }
    }
    Element app = ax.anwendung(vorn->pid);
    ax.setzeZeitlimit(app, fokusZeitlimit);
    const auto fenster = ax.element(app, "AXFocusedWindow");
    std::string titel;
    std::optional<Element> feld;
    bool gleichesFeld = !letztesFeld;
    if (browser) {
        if (fenster) titel = ax.text(*fenster, "AXTitle").value_or("");
        feld = ax.element(app, "AXFocusedUIElement");
        gleichesFeld = feld.has_value() == letztesFeld.has_value() && (!feld || *feld == *letztesFeld);
    }
    if (fenster && letzterFokus && *fenster == *letzterFokus && titel == letzterTitel && gleichesFeld) return;
    letzterFokus = fenster;
    letzterTitel = titel;
    letztesFeld = feld;
    if (!fenster) return;
    if (browser) {
        erkenneBrowserFenster(*fenster, vorn->pid);
        return;
    }
    if (auto z = verbundenMit(*fenster); z && z != ziel) aktiviere(z, false);
}

void Steuerung::pruefeNeueFenster() {
    if (!vertraut || modus != Modus::keiner) return;
    const auto automatisch = autoApps();
    if (automatisch.empty()) return;
    const auto nummern = abgewaehlt();
    std::vector<std::shared_ptr<Ziel>> neu;
    for (const Anwendung& a : plattform.arbeitsplatz.laufende()) {
        const std::string kennung = kennungVon(a);
        if (kennung.empty() || !automatisch.count(kennung)) continue;
        Element app = ax.anwendung(a.pid);
        ax.setzeZeitlimit(app, scanZeitlimit);
        auto fenster = ax.elemente(app, "AXWindows");
        if (!fenster) continue;
        for (const Element& f : *fenster) {
            if (ax.text(f, "AXSubrole") != "AXStandardWindow") continue;
            const auto nummer = ax.fensterNummer(f);
            if (!nummer || nummern.count(*nummer) || verbundenMit(f)) continue;
            bool beansprucht = false;
            for (const auto& o : ausstehend) beansprucht = beansprucht || (o.eintrag.size() >= 2 && o.eintrag[1] == *nummer);
            if (beansprucht) continue;
            auto z = std::make_shared<Ziel>(ax, plattform.arbeitsplatz, f, a.pid);
            z->platz = freierPlatz();
            beobachte(z);
            verbunden.push_back(z);
            neu.push_back(z);
            protokoll("Automatisch verbunden: " + z->anzeige());
        }
    }
    if (neu.empty()) return;
    if (!ziel) {
        aktiviere(verbunden.front(), false);
    } else {
        speichereZiele();
        aktualisiereLeiste();
    }
    if (neu.size() == 1) {
        hinweis.zeige(L("＋ Neues Fenster in der Liste: ", "＋ New window in the list: ") + name(neu.front()), 2.0);
    } else {
        const std::string n = std::to_string(neu.size());
        hinweis.zeige(L("＋ " + n + " neue Fenster in der Liste", "＋ " + n + " new windows in the list"), 2.0);
    }
}

}  // namespace klebwerk
