#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <QJsonArray>

#include "app/einstellungen.h"
#include "input/kuerzel_art.h"

namespace klebwerk {

// A recorded shortcut: the virtual key code of its main key, the Carbon modifier mask
// and its display text (⌃⌥D).
struct Kuerzel {
    std::uint32_t code = 0;
    std::uint32_t mods = 0;
    std::string text;
    bool operator==(const Kuerzel&) const = default;
};

// The stored shortcut of a kind ("kuerzel." + kind: [code, mods, text]); none when
// absent, not exactly three elements, of the wrong types, or with a key code or mask
// that no key event carries (outside 0…65535, or outside 32 bits).
std::optional<Kuerzel> gespeichertesKuerzel(const Einstellungen& ud, KuerzelArt art);

// The stored form of a shortcut: [code, mods, text].
QJsonArray speicherform(const Kuerzel& k);

}  // namespace klebwerk
