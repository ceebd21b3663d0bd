#include "platform/atspi/atspi_fensterelement.h"

#include <charconv>

namespace klebwerk::atspi {

namespace {
// No bus name, and a path that no object on the bus has.
const std::string praefix = "/fenster/";
}  // namespace

Element nurFenster(int pid, std::int64_t nummer) {
    return Element{Element::Art::objekt, pid, "", praefix + std::to_string(nummer)};
}

std::optional<std::int64_t> nurFensterNummer(const Element& e) {
    if (e.art != Element::Art::objekt || !e.bus.empty() || e.pfad.rfind(praefix, 0) != 0) return std::nullopt;
    const char* anfang = e.pfad.data() + praefix.size();
    const char* ende = e.pfad.data() + e.pfad.size();
    std::int64_t n = 0;
    auto [bis, fehler] = std::from_chars(anfang, ende, n);
    if (fehler != std::errc() || bis != ende || n <= 0) return std::nullopt;
    return n;
}

Wert nurFensterWert(DesktopFenster& desktop, const Element& e, const std::string& attribut) {
    auto nummer = nurFensterNummer(e);
    if (!nummer) return {};
    auto f = desktop.fenster(*nummer);
    if (!f) return {};
    if (attribut == "AXRole") return "AXWindow";
    if (attribut == "AXSubrole") return "AXStandardWindow";
    if (attribut == "AXTitle") return f->titel;
    if (attribut == "AXPosition") return Punkt{f->rahmen.x, f->rahmen.y};
    if (attribut == "AXSize") return Groesse{f->rahmen.breite, f->rahmen.hoehe};
    if (attribut == "AXChildren") return WertListe{};
    if (attribut == "AXWindow") return e;
    if (attribut == "AXParent") return Element{Element::Art::anwendung, e.pid, "", ""};
    if (attribut == "AXMain" || attribut == "AXFocused") return desktop.aktives() == *nummer;
    return {};
}

const std::vector<std::string>& nurFensterAttribute() {
    static const std::vector<std::string> namen{"AXRole", "AXSubrole", "AXTitle", "AXPosition", "AXSize",
                                                "AXChildren", "AXWindow", "AXParent", "AXMain", "AXFocused"};
    return namen;
}

}  // namespace klebwerk::atspi
