#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/einstellungen.h"
#include "input/kuerzel_art.h"

namespace klebwerk {

// A recorded shortcut: key code, Carbon modifier mask and its display text.
struct Kuerzel {
    std::int64_t code = 0;
    std::int64_t mods = 0;
    std::string text;
    bool operator==(const Kuerzel&) const = default;
};

// The stored shortcut of a kind ("kuerzel." + kind: [code, mods, text]); none when
// absent, not exactly three elements, or of the wrong types.
std::optional<Kuerzel> gespeichertesKuerzel(const Einstellungen& ud, KuerzelArt art);

}  // namespace klebwerk
