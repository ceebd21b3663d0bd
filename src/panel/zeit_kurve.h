#pragma once

namespace klebwerk {

// A timing curve: a cubic Bézier from (0, 0) to (1, 1) with two control points, as
// animation easing uses it. Maps the share of time gone to the share of the way.
struct ZeitKurve {
    double x1 = 0, y1 = 0, x2 = 1, y2 = 1;

    double operator()(double zeitAnteil) const;

    static ZeitKurve linear() { return {0, 0, 1, 1}; }
    static ZeitKurve sanft() { return {0.42, 0, 0.58, 1}; }  // ease in and out
};

}  // namespace klebwerk
