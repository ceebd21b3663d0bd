#pragma once

#include <cstdint>
#include <optional>

// The interface speaks the system's virtual key codes (positions on an ANSI
// keyboard). Here they meet X11: each code has the keysym its key gives on a US
// layout (what a shortcut means: ⌘V is "v" with the command key) and the evdev
// code of the key at the same place (X key code = evdev + 8), for what a position
// produces on the current layout.
namespace klebwerk::linuxdesk {

struct TastenCode {
    std::uint16_t code;    // virtual key code
    std::uint32_t keysym;  // on a US layout, unshifted
    std::uint16_t evdev;   // the key at the same position
};

std::optional<TastenCode> tastenCode(std::uint16_t code);
// The virtual key code of a keysym (case folded: "V" is the key of "v").
std::optional<std::uint16_t> codeFuerKeysym(std::uint32_t keysym);
// The virtual key code of the key at a position (X key code).
std::optional<std::uint16_t> codeFuerPosition(std::uint32_t xKeycode);

}  // namespace klebwerk::linuxdesk
