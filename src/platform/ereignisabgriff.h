#pragma once

#include <cstdint>
#include <functional>
#include <set>

#include "platform/geometrie.h"
#include "platform/marke.h"

namespace klebwerk {

enum class EreignisArt { tasteRunter, tasteHoch, flaggenGeaendert, mausRunter, mausHoch, mausBewegt, rechtsRunter, rechtsHoch };

// What the tap does with each kind of event. Decided before any event arrives: a
// click once taken cannot be handed on afterwards.
struct AbgriffRegel {
    enum class Umgang { durchlassen, schlucken };
    // The left button, its press and its release: swallowed while choosing. Every
    // other button, the wheel and motion always reach the windows.
    Umgang linkeTaste = Umgang::durchlassen;
    // Key codes that are swallowed (Escape while choosing, every key while a shortcut
    // is recorded); all others pass.
    std::set<std::uint16_t> geschluckteTasten;
    // Listen-only: nothing is taken, only keys and modifier changes are seen.
    bool nurTasten = false;
};

// One event seen by the tap, as a plain record: the macOS virtual key code, the event
// flags (shift, control, option, command) and the pointer position in top-left
// screen coordinates.
struct AbgriffEreignis {
    EreignisArt art = EreignisArt::tasteRunter;
    std::uint16_t code = 0;
    std::uint64_t flaggen = 0;
    Punkt wo;
    bool geschluckt = false;
};

// Whether a rule takes an event of this kind (and key code) from the applications.
inline bool nimmt(const AbgriffRegel& regel, EreignisArt art, std::uint16_t code = 0) {
    if (regel.nurTasten) return false;
    switch (art) {
    case EreignisArt::mausRunter:
    case EreignisArt::mausHoch: return regel.linkeTaste == AbgriffRegel::Umgang::schlucken;
    case EreignisArt::tasteRunter: return regel.geschluckteTasten.count(code) > 0;
    default: return false;
    }
}

// The event tap: sees the user's input while it is installed.
class Ereignisabgriff {
public:
    virtual ~Ereignisabgriff() = default;
    // Installs the tap; the handler runs on the main thread. An empty token: the tap
    // could not be set up (another client holds the grab, or no permission).
    virtual Marke starte(const AbgriffRegel& regel, std::function<void(const AbgriffEreignis&)> handler) = 0;
};

}  // namespace klebwerk
