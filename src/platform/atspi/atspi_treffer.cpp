// Hit testing: the element at a screen point.

#include <cmath>

#include "platform/atspi/atspi_fensterelement.h"
#include "platform/atspi/atspi_zugaenglichkeit.h"

namespace klebwerk::atspi {

std::optional<Element> AtspiZugaenglichkeit::elementBei(const Element& wurzel, Punkt punkt, double frist) {
    std::optional<Element> app;
    std::optional<std::int64_t> nummer;
    if (wurzel.art == Element::Art::systemweit) {
        for (const FensterFakten& f : desktop_.kandidaten()) {
            if (!f.normal || f.pid == bus_.eigenePid() || !f.rahmen.enthaelt(punkt)) continue;
            app = anwendung(f.pid);
            nummer = f.nummer;
            break;
        }
    } else if (wurzel.art == Element::Art::anwendung) {
        app = wurzel;
    }
    if (!app) return std::nullopt;
    auto fenster = anwendungsWert(*app, "AXWindows", frist);
    const WertListe* liste = fenster.als<WertListe>();
    if (!liste) return std::nullopt;
    // The window under the point: the one paired with the desktop window there, else the
    // first whose extents hold the point.
    std::optional<Element> ziel;
    for (const Wert& w : *liste) {
        const Element* f = w.als<Element>();
        if (f && nummer && nummerVon(*f, frist) == *nummer) {
            ziel = *f;
            break;
        }
    }
    if (!ziel) {
        for (const Wert& w : *liste) {
            const Element* f = w.als<Element>();
            auto werte = f ? liesMehrere(*f, {"AXPosition", "AXSize"}, frist) : std::vector<Wert>(2);
            const Punkt* p = werte[0].als<Punkt>();
            const Groesse* g = werte[1].als<Groesse>();
            if (p && g && Rechteck{p->x, p->y, g->breite, g->hoehe}.enthaelt(punkt)) {
                ziel = *f;
                break;
            }
        }
    }
    if (!ziel) return std::nullopt;
    // A window-only element has nothing below it.
    if (nurFensterNummer(*ziel)) return ziel;
    // Down to the deepest element at the point.
    Element jetzt = *ziel;
    for (int tiefe = 0; tiefe < 64; ++tiefe) {
        auto a = adresse(jetzt, frist);
        if (!a) break;
        auto m = QDBusMessage::createMethodCall(a->bus, a->pfad, iComponent, QStringLiteral("GetAccessibleAtPoint"));
        m << int(std::lround(punkt.x)) << int(std::lround(punkt.y)) << koordinatenBildschirm;
        auto antwort = bus_.sende({m}, frist);
        if (!istAntwort(antwort[0])) break;
        auto kind = referenzAus(antwort[0].arguments().front());
        if (!kind || (kind->bus == a->bus && kind->pfad == a->pfad)) break;
        jetzt = elementFuer(*kind, jetzt.pid, frist);
    }
    return jetzt;
}

}  // namespace klebwerk::atspi
