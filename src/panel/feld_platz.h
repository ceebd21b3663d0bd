#pragma once

#include <optional>
#include <vector>

#include "platform/bildschirme.h"
#include "platform/geometrie.h"

namespace klebwerk {

// Where the panel of the given size stands when it is made: its stored frame moved
// into the visible area of a screen that exists; without one, its top-left corner 290
// points left of the main screen's visible right edge and 20 below its visible top;
// without any screen at the origin. Top-left screen coordinates.
Rechteck feldPlatz(const std::optional<Rechteck>& gespeichert, const std::vector<Bildschirm>& bildschirme,
                   double breite, double hoehe);

// The frame `r` fitted to the content height `hoehe` with its top edge kept; none when
// the heights differ by half a point or less, so that the frame is left alone.
std::optional<Rechteck> gepassteHoehe(const Rechteck& r, double hoehe);

}  // namespace klebwerk
