#include "assist/knopfsuche.h"

#include "ax/letztes_element.h"

namespace klebwerk {

namespace {
constexpr long knopfGrenze = 60000;
}  // namespace

std::optional<Element> sucheKnopfIn(const AX& ax, const Element& fenster, const KnopfMerkmal& merkmal) {
    return letztesElement(
        ax, fenster, knopfGrenze,
        [&ax, &merkmal](const Element& e, const std::optional<std::string>& rolle, const std::string& label) {
            return merkmal.passt(rolle, label, [&ax, &e] { return ax.klassen(e); });
        },
        merkmal.moeglicheRollen());
}

}  // namespace klebwerk
