#pragma once

#include <string>

namespace klebwerk {

// The two buttons of a target that can be learned.
enum class KnopfArt { vorlesen, diktat };

// The settings prefix of a learned signature: "knopf" or "diktat".
inline std::string knopfPraefix(KnopfArt a) { return a == KnopfArt::vorlesen ? "knopf" : "diktat"; }

}  // namespace klebwerk
