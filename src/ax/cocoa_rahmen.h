#pragma once

#include "platform/bildschirme.h"
#include "platform/geometrie.h"

namespace klebwerk {

// A rectangle in top-left screen points in the bottom-left coordinates that place the
// program's own windows: y = H − maximum y, H the height of the first screen (0 without one).
Rechteck cocoaRahmen(const Rechteck& r, double hoeheErsterBildschirm);
Rechteck cocoaRahmen(const Rechteck& r, Bildschirme& bildschirme);

}  // namespace klebwerk
