#include "assist/knopfsuche.h"

#include <algorithm>
#include <cctype>

#include "ax/letztes_element.h"
#include "ax/rollen.h"

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

std::optional<bool> stoppKnopfIn(const AX& ax, const Element& fenster) {
    auto knopf = letztesElement(
        ax, fenster, knopfGrenze,
        [](const Element&, const std::optional<std::string>& rolle, const std::string& label) {
            if (!rolle || !knopfRollen().count(*rolle) || label.empty()) return false;
            std::string klein = label;
            std::transform(klein.begin(), klein.end(), klein.begin(), [](unsigned char c) { return std::tolower(c); });
            return klein.find("stop") != std::string::npos || klein.find("anhalten") != std::string::npos ||
                   klein.find("abbrechen") != std::string::npos;
        },
        knopfRollen());
    if (knopf) return true;
    if (ax.text(fenster, "AXRole")) return false;
    return std::nullopt;
}

}  // namespace klebwerk
