#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/geometrie.h"

namespace klebwerk {

// Event flags as the system names them.
namespace flagge {
inline constexpr std::uint64_t umschalt = 0x20000;
inline constexpr std::uint64_t control = 0x40000;
inline constexpr std::uint64_t option = 0x80000;
inline constexpr std::uint64_t befehl = 0x100000;
// The four modifier keys (caps lock and fn aside).
inline constexpr std::uint64_t modifikatoren = umschalt | control | option | befehl;
}  // namespace flagge

enum class Maustaste { links, rechts };

// Synthetic input and what the user's devices are doing.
class Eingabe {
public:
    virtual ~Eingabe() = default;

    // A key press (down, then up) with a virtual key code and event flags, to the
    // front application or, with `pid`, to that application.
    virtual void taste(std::uint16_t code, std::uint64_t flaggen, std::optional<int> pid) = 0;
    virtual void maus(Maustaste taste, bool runter, Punkt wo) = 0;
    virtual void bewegeZeiger(Punkt wo) = 0;
    virtual Punkt zeiger() = 0;
    // Seconds since the pointer last moved (the user's motion, or this program's own
    // moves); keys pressed meanwhile do not count.
    virtual double zeigerRuhe() = 0;
    // Whether a mouse button is held down right now.
    virtual bool maustasteGehalten() = 0;
    // The modifier flags the user holds right now.
    virtual std::uint64_t gehalteneFlaggen() = 0;
    // The modifiers, named as `gehalteneFlaggen` names them, that `taste` presses
    // itself for a key with `flaggen`: a user holding one of these changes nothing
    // about that key, any other held modifier would combine with it.
    virtual std::uint64_t eigeneFlaggen(std::uint64_t flaggen) = 0;
    // The characters a key code produces on the current layout.
    virtual std::string zeichen(std::uint16_t code) = 0;
};

}  // namespace klebwerk
