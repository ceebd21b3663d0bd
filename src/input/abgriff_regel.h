#pragma once

#include "input/modus.h"
#include "platform/ereignisabgriff.h"

namespace klebwerk {

// The macOS virtual key codes the modes look at.
inline constexpr std::uint16_t tasteEscape = 53;
inline constexpr std::uint16_t tasteS = 1;
inline constexpr std::uint16_t hoechsterTastenCode = 127;

// The modifier bits that count for "⌥ alone" (shift, control, option, command);
// caps lock and fn are left out.
inline constexpr std::uint64_t modifikatorMaske = 0x1E0000;

// What the tap of a mode takes from the user before any event arrives: the
// listen-only key tap of the learn mode takes nothing; the choose mode takes the left
// click and Escape; shortcut recording takes every key down and lets clicks pass.
AbgriffRegel regelFuer(bool nurTasten, Modus kommend);

// ⌥ alone, as the learn mode wants it.
inline bool nurOption(std::uint64_t flaggen) { return (flaggen & modifikatorMaske) == 0x80000; }

}  // namespace klebwerk
