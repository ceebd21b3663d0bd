#include "menubar/menue.h"

#include <QString>
#include <QTextBoundaryFinder>

namespace klebwerk {

namespace {
constexpr int hoechsteZeichen = 18;
}  // namespace

std::string menueText(const std::vector<MenueEintrag>& menue) {
    std::string text;
    for (const MenueEintrag& e : menue) {
        if (e.art == MenueEintrag::Art::trenner) {
            text += "---\n";
            continue;
        }
        text += e.haken ? "✓ " : "  ";
        text += e.titel;
        if (!e.unter.empty()) text += " ▸ " + std::to_string(e.unter.size()) + " Einträge";
        text += '\n';
    }
    return text;
}

std::string leistenName(const std::string& name) {
    // Characters as the user sees them: a letter with its accents, a flag, an emoji with
    // its modifiers count once each.
    const QString q = QString::fromStdString(name);
    QTextBoundaryFinder grenzen(QTextBoundaryFinder::Grapheme, q);
    std::vector<qsizetype> enden;
    while (grenzen.toNextBoundary() != -1) enden.push_back(grenzen.position());
    if (static_cast<int>(enden.size()) <= hoechsteZeichen) return name;
    return q.left(enden[hoechsteZeichen - 2]).toStdString() + "…";
}

}  // namespace klebwerk
