#pragma once

#include <string>

namespace klebwerk {

// The interaction mode: choosing a target, learning a button, recording a shortcut.
enum class Modus { keiner, wahl, lernen, kuerzel };

inline std::string modusName(Modus m) {
    switch (m) {
        case Modus::keiner: return "keiner";
        case Modus::wahl: return "wahl";
        case Modus::lernen: return "lernen";
        case Modus::kuerzel: return "kuerzel";
    }
    return "keiner";
}

}  // namespace klebwerk
