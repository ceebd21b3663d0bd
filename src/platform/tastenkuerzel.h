#pragma once

#include <cstdint>
#include <functional>

namespace klebwerk {

// Carbon modifier masks, as shortcuts are stored.
namespace carbon {
inline constexpr std::uint32_t befehl = 0x0100;
inline constexpr std::uint32_t umschalt = 0x0200;
inline constexpr std::uint32_t option = 0x0800;
inline constexpr std::uint32_t control = 0x1000;
}  // namespace carbon

// The Carbon modifier mask of event flags (shift 0x20000, control 0x40000,
// option 0x80000, command 0x100000); other bits are left out.
inline std::uint32_t carbonMaske(std::uint64_t flaggen) {
    std::uint32_t m = 0;
    if (flaggen & 0x100000) m |= carbon::befehl;
    if (flaggen & 0x20000) m |= carbon::umschalt;
    if (flaggen & 0x80000) m |= carbon::option;
    if (flaggen & 0x40000) m |= carbon::control;
    return m;
}

// Global hot keys: a key code with a Carbon modifier mask, known by an id.
class Tastenkuerzel {
public:
    virtual ~Tastenkuerzel() = default;
    // Registers the hot key; returns the platform's status, 0 on success.
    virtual int registriere(std::uint32_t id, std::uint16_t code, std::uint32_t modifikatoren) = 0;
    virtual void entferne(std::uint32_t id) = 0;
    // Called on the main thread with the id of a pressed hot key; an empty handler
    // stops the calls (a press already on its way is dropped).
    virtual void beiDruck(std::function<void(std::uint32_t id)> handler) = 0;
};

}  // namespace klebwerk
