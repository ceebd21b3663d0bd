#pragma once

#include <string>

namespace klebwerk {

// The two shortcuts the user records.
enum class KuerzelArt { diktat, senden };

inline std::string kuerzelArtName(KuerzelArt a) { return a == KuerzelArt::diktat ? "diktat" : "senden"; }

}  // namespace klebwerk
