// Finding the target's input field.

#include "app/steuerung.h"
#include "ax/letztes_element.h"
#include "ax/rollen.h"
#include "targets/seite.h"

namespace klebwerk {

void Steuerung::fokussiereEingabe(const std::shared_ptr<Ziel>& z) {
    if (browserEingabe(z)) return;
    if (auto fokus = ax.element(z->app, "AXFocusedUIElement")) {
        auto rolle = ax.text(*fokus, "AXRole");
        auto fenster = ax.element(*fokus, "AXWindow");
        if (rolle && eingabeRollen().count(*rolle) && fenster && *fenster == z->fenster) return;
    }
    auto feld = letztesElement(
        ax, z->fenster, fensterFeldGrenze,
        [](const Element&, const std::optional<std::string>& rolle, const std::string&) {
            return rolle && textFelder().count(*rolle);
        },
        textFelder());
    if (feld) ax.setze(*feld, "AXFocused", true);
}

}  // namespace klebwerk
