#pragma once

#include <QColor>
#include <QIcon>

namespace klebwerk {

// The panel's own monochrome symbols.
enum class Symbol { lautsprecherAn, lautsprecherAus, minus, kreuz, pfeilRunter, pfeilRechts, verbindung };

// The symbol at `punkte` (its nominal size in points) and weight, in `farbe`, drawn
// crisply at every device pixel ratio.
QIcon symbol(Symbol art, double punkte, bool fett, const QColor& farbe);

}  // namespace klebwerk
