#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace klebwerk {

// The two shortcuts the user records, in the order the panel shows them.
enum class KuerzelArt { diktat, senden };

inline constexpr std::array<KuerzelArt, 2> alleKuerzelArten{KuerzelArt::diktat, KuerzelArt::senden};

inline std::string kuerzelArtName(KuerzelArt a) { return a == KuerzelArt::diktat ? "diktat" : "senden"; }

// The hot-key id of a kind: its position + 2 (id 1 is the fixed ⌃⌥S).
inline std::uint32_t kuerzelId(KuerzelArt a) { return a == KuerzelArt::diktat ? 2 : 3; }

// The settings key of a kind's stored shortcut.
inline std::string kuerzelSchluessel(KuerzelArt a) { return "kuerzel." + kuerzelArtName(a); }

// "Diktat starten" / "Start dictation", "Senden" / "Send".
std::string kuerzelTitel(KuerzelArt a);

}  // namespace klebwerk
