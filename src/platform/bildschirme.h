#pragma once

#include <vector>

#include "platform/geometrie.h"

namespace klebwerk {

struct Bildschirm {
    Rechteck rahmen;
    Rechteck sichtbar;  // without panels and docks
};

// The screens, top-left coordinates; the first one is the main screen.
class Bildschirme {
public:
    virtual ~Bildschirme() = default;
    virtual std::vector<Bildschirm> alle() = 0;
    // Whether windows can be translucent (a compositing manager runs); without it a
    // translucent window renders opaque.
    virtual bool durchscheinend() = 0;
};

}  // namespace klebwerk
