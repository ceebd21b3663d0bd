#pragma once

// Screen geometry in points, origin at the top left of the main screen.
namespace klebwerk {

struct Punkt {
    double x = 0;
    double y = 0;
    bool operator==(const Punkt&) const = default;
};

struct Groesse {
    double breite = 0;
    double hoehe = 0;
    bool operator==(const Groesse&) const = default;
};

struct Rechteck {
    double x = 0;
    double y = 0;
    double breite = 0;
    double hoehe = 0;
    bool operator==(const Rechteck&) const = default;

    bool enthaelt(Punkt p) const { return p.x >= x && p.x < x + breite && p.y >= y && p.y < y + hoehe; }
    Punkt mitte() const { return {x + breite / 2, y + hoehe / 2}; }
};

}  // namespace klebwerk
