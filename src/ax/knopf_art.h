#pragma once

#include <optional>
#include <string>

namespace klebwerk {

// The two buttons of a target that can be learned.
enum class KnopfArt { vorlesen, diktat };

// The settings prefix of a learned signature: "knopf" or "diktat".
inline std::string knopfPraefix(KnopfArt a) { return a == KnopfArt::vorlesen ? "knopf" : "diktat"; }

// The kind whose raw value ("knopf", "diktat") the text is; none for any other text.
inline std::optional<KnopfArt> knopfArtAus(const std::string& roh) {
    if (roh == "knopf") return KnopfArt::vorlesen;
    if (roh == "diktat") return KnopfArt::diktat;
    return std::nullopt;
}

}  // namespace klebwerk
