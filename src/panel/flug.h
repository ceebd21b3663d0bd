#pragma once

#include "panel/feder.h"
#include "platform/geometrie.h"

namespace klebwerk {

// What the flying picture of the panel looks like at one moment.
struct FlugBild {
    Rechteck rahmen;
    double ecke = 0;       // corner radius
    double deckkraft = 1;  // opacity
};

// The flight of the panel's picture between the panel's frame and the point's disc.
// Shrinking: 0.34 s on a curve that starts slowly and ends fast, down to the disc,
// round and faint. Growing: position and size on a spring, fading in within 0.15 s,
// the corners squaring off to 16 within 0.25 s.
class Flug {
public:
    // `feld`: the panel's frame; `scheibe`: the point's disc; any one coordinate system.
    Flug(Rechteck feld, Rechteck scheibe, bool aufgehen);

    // The flight's length in seconds.
    double dauer() const { return dauer_; }
    // The picture `t` seconds after the start; after the end it stays as at the end.
    FlugBild bei(double t) const;

    static Feder aufgehFeder() { return {230, 15, 1, 2}; }
    static constexpr double sogDauer = 0.34;

private:
    Rechteck feld_;
    Rechteck scheibe_;
    bool aufgehen_;
    double dauer_;
};

}  // namespace klebwerk
