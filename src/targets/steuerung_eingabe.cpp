// Finding the target's input field.

#include "app/steuerung.h"
#include "ax/letztes_element.h"
#include "ax/rollen.h"

namespace klebwerk {

void Steuerung::fokussiereEingabe(const std::shared_ptr<Ziel>& z) {
    if (browserEingabe(z)) return;
    if (auto fokus = ax.element(z->app, "AXFocusedUIElement")) {
        auto rolle = ax.text(*fokus, "AXRole");
        auto fenster = ax.element(*fokus, "AXWindow");
        if (rolle && eingabeRollen().count(*rolle) && fenster && *fenster == z->fenster) return;
    }
    static const std::set<std::string> felder = {"AXTextArea", "AXTextField"};
    auto feld = letztesElement(
        ax, z->fenster, 6000,
        [](const Element&, const std::optional<std::string>& rolle, const std::string&) {
            return rolle && felder.count(*rolle);
        },
        felder);
    if (feld) ax.setze(*feld, "AXFocused", true);
}

}  // namespace klebwerk
