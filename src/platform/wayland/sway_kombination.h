#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace klebwerk::wayland {

// sway's modifier bits, by the names its bindings accept (case does not matter):
// Shift, Lock, Control or Ctrl, Mod1 or Alt, Mod2, Mod3, Mod4, Mod5.
namespace swaymod {
inline constexpr std::uint32_t shift = 1 << 0;
inline constexpr std::uint32_t lock = 1 << 1;
inline constexpr std::uint32_t control = 1 << 2;
inline constexpr std::uint32_t mod1 = 1 << 3;
inline constexpr std::uint32_t mod2 = 1 << 4;
inline constexpr std::uint32_t mod3 = 1 << 5;
inline constexpr std::uint32_t mod4 = 1 << 6;
inline constexpr std::uint32_t mod5 = 1 << 7;
}  // namespace swaymod

// A key combination as sway tells two bindings apart: the modifiers and the keysyms
// of the other keys, letters in lower case ("Shift+K" and "shift+k" are one binding).
struct SwayKombination {
    std::uint32_t modifikatoren = 0;
    std::vector<std::uint32_t> tasten;  // sorted
    bool operator==(const SwayKombination&) const = default;
};

// The text a bindsym takes for a system key code with a Carbon modifier mask
// ("Mod4+Ctrl+Mod1+Shift+k": ⌘ is the logo key, ⌥ is Alt); none when the key code has
// no keysym.
std::optional<std::string> swayKombinationstext(std::uint16_t code, std::uint32_t carbonMaske);

// The combination of a bindsym's key text, variables already replaced; none when a
// part is neither a modifier nor a keysym name (a mouse button, a typing error).
// A group prefix ("Group2+") is left out.
std::optional<SwayKombination> leseKombination(std::string_view text);

// The key combinations that the bindsym commands of a sway config bind in the default
// mode: variables (`set $name value`) replaced as sway does, blocks (`bindsym { … }`,
// `mode "name" { … }`) and continued lines followed, comments left out. Bindings of
// other modes are left out (a binding added at run time goes to the default mode and
// replaces none of them); one with flags or only for a device counts, its key is in use.
// Key codes (bindcode) and the files an `include` names are not read.
std::vector<SwayKombination> gebundeneKombinationen(const std::string& konfiguration);

}  // namespace klebwerk::wayland
