// Learning a button: the user holds the pointer over the target's dictation (or
// read-aloud) button and presses ⌥; the element under the pointer, or the nearest
// button above it, is remembered by its signature.

#include "app/sprache.h"
#include "app/steuerung.h"
#include "ax/rollen.h"
#include "basis/protokoll.h"

namespace klebwerk {

namespace {
// The element under the pointer and up to five ancestors.
constexpr int kletterStufen = 6;
}  // namespace

void Steuerung::lerneDiktat() {
    lernArt = KnopfArt::diktat;
    lernenStarten();
}

void Steuerung::lerneVorlesen() {
    lernArt = KnopfArt::vorlesen;
    lernenStarten();
}

void Steuerung::lernenStarten() {
    if (!vertraut) {
        oeffneFreigabe();
        return;
    }
    if (modus != Modus::keiner) beendeModus();
    // Programs built on Chromium or Electron show their whole tree only when asked.
    for (const Anwendung& a : plattform.arbeitsplatz.laufende()) {
        if (a.art == Aktivierungsart::regulaer) ax.setze(ax.anwendung(a.pid), "AXManualAccessibility", true);
    }
    if (!starteTap(true, Modus::lernen)) return;
    modus = Modus::lernen;
    hinweis.zeige(L("Maus auf den Diktat-Knopf halten und ⌥ drücken  ·  esc bricht ab",
                    "Hold the mouse over the dictation button and press ⌥  ·  esc cancels"),
                  std::nullopt);
    schreibeStatus();
}

void Steuerung::lerne(Punkt p) {
    const auto getroffen = ax.elementBei(ax.systemweit(), p);
    if (!getroffen) {
        hinweis.zeige(L("Nichts erkannt – noch einmal klicken", "Nothing detected – click again"), std::nullopt);
        return;
    }
    std::optional<Element> knopf;
    Element e = *getroffen;
    for (int stufe = 0; stufe < kletterStufen; ++stufe) {
        auto rolle = ax.text(e, "AXRole");
        if (rolle && knopfRollen().count(*rolle)) {
            knopf = e;
            break;
        }
        auto eltern = ax.element(e, "AXParent");
        if (!eltern) break;
        e = *eltern;
    }
    const auto rolle = knopf ? ax.text(*knopf, "AXRole") : std::nullopt;
    if (!rolle) {
        hinweis.zeige(L("Das war kein Knopf – noch einmal klicken  ·  esc bricht ab",
                        "That wasn't a button – click again  ·  esc cancels"),
                      std::nullopt);
        return;
    }
    const KnopfMerkmal m{*rolle, ax.beschriftung(*knopf), ax.klassen(*knopf)};
    if (m.label.empty() && m.klassen.empty()) {
        hinweis.zeige(L("Dieser Knopf ist nicht erkennbar – noch einmal klicken",
                        "This button can't be recognized – click again"),
                      std::nullopt);
        return;
    }
    beendeModus();
    setzeMerkmal(lernArt, m);
    if (lernArt == KnopfArt::diktat) {
        ud.setzeWahr("diktatAn", true);
        ud.setzeWahr("absenden", false);
    }
    hinweis.zeige(L("✓ Diktat-Knopf gemerkt: ", "✓ Dictation button saved: ") +
                      (m.label.empty() ? L("ohne Namen", "unnamed") : m.label),
                  2.5);
    protokoll("Knopf gelernt (" + knopfPraefix(lernArt) + "): " + m.text());
    schreibeStatus();
}

}  // namespace klebwerk
