#pragma once

#include <string>

namespace klebwerk {

class Ziel;

// What the status item shows: its symbol (by the system's symbol name), the title
// beside it and its tooltip.
struct LeistenStand {
    std::string symbol;
    std::string titel;
    std::string tipp;
    bool operator==(const LeistenStand&) const = default;
};

// The first that holds: permission missing, paused, a target, idle.
LeistenStand leistenStand(bool vertraut, bool pausiert, const Ziel* ziel);

}  // namespace klebwerk
