#pragma once

namespace klebwerk {

// A damped spring that carries a value from 0 to 1: mass, stiffness and damping as
// in the physics of a mass on a spring, the start speed in lengths of the whole way
// per second.
struct Feder {
    double steifigkeit = 100;
    double daempfung = 10;
    double masse = 1;
    double anfangsTempo = 0;

    // Where the value stands `t` seconds after the start (overshoots past 1 on the
    // way when the spring is underdamped).
    double wert(double t) const;
    // How long until the value stays within a thousandth of the way around 1.
    double ruhezeit() const;
};

}  // namespace klebwerk
