#pragma once

#include <optional>
#include <string>

#include "app/einstellungen.h"
#include "ax/knopf_art.h"

namespace klebwerk {

// The signature of a learned button: its role, its visible label and its DOM classes.
struct KnopfMerkmal {
    std::string rolle;
    std::string label;
    std::string klassen;
    bool operator==(const KnopfMerkmal&) const = default;
};

// The stored signature of a kind: none without prefix + "Rolle"; label and classes
// default to empty texts.
std::optional<KnopfMerkmal> gespeichertesMerkmal(const Einstellungen& ud, KnopfArt art);
// Stores the three texts, or with none removes all three keys.
void speichereMerkmal(Einstellungen& ud, KnopfArt art, const std::optional<KnopfMerkmal>& m);

}  // namespace klebwerk
