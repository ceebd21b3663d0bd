#pragma once

#include <functional>
#include <optional>
#include <set>
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

    // Whether a candidate element matches: a labelled signature wants the same label and
    // the same role or any button role; an unlabelled one the same role and the same
    // class list, which `klassen` yields only when it is needed (it costs a request).
    bool passt(const std::optional<std::string>& rolle, const std::string& label,
               const std::function<std::string()>& klassen) const;
    // The roles a matching candidate can have (for a search that asks for candidates).
    std::set<std::string> moeglicheRollen() const;
    // The text form for the log: KnopfMerkmal(rolle: "…", label: "…", klassen: "…").
    std::string text() const;
};

// The stored signature of a kind: none without prefix + "Rolle"; label and classes
// default to empty texts.
std::optional<KnopfMerkmal> gespeichertesMerkmal(const Einstellungen& ud, KnopfArt art);
// Stores the three texts, or with none removes all three keys.
void speichereMerkmal(Einstellungen& ud, KnopfArt art, const std::optional<KnopfMerkmal>& m);

}  // namespace klebwerk
