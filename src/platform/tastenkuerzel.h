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

// Global hot keys: a key code with a Carbon modifier mask, known by an id.
class Tastenkuerzel {
public:
    virtual ~Tastenkuerzel() = default;
    // Registers the hot key; returns the platform's status, 0 on success.
    virtual int registriere(std::uint32_t id, std::uint16_t code, std::uint32_t modifikatoren) = 0;
    virtual void entferne(std::uint32_t id) = 0;
    // Called on the main thread with the id of a pressed hot key.
    virtual void beiDruck(std::function<void(std::uint32_t id)> handler) = 0;
};

}  // namespace klebwerk
