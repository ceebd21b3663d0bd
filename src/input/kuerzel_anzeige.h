#pragma once

#include <cstdint>
#include <string>

#include "platform/eingabe.h"

namespace klebwerk {

// How a key combination is written for the user: the modifier symbols in the fixed
// order ⌃ ⌥ ⇧ ⌘, then the key.

// The symbols of the modifier flags that are set.
std::string modifikatorZeichen(std::uint64_t flaggen);

// Whether a virtual key code is one of the function keys F1–F19.
bool istFunktionstaste(std::uint16_t code);

// The text of a key: its name from the key-name table (F-keys, arrows, ↩, ⇥, the
// Space bar in the interface language); else the characters it gives on the current
// layout without modifiers, upper-cased; else, for a key that gives no character, its
// name (↖, ⌦, Einfg / Insert); "?" when none of these is known.
std::string tastenText(std::uint16_t code, Eingabe& eingabe);

// A key without a virtual key code, known by its English name: the name in the
// interface language ("Print" is "Druck" in German); unknown names as given.
std::string benannteTaste(const std::string& englisch);

// The display text of a combination, ⌃⌥D or ⇧⌘Leertaste.
std::string kuerzelAnzeige(std::uint16_t code, std::uint64_t flaggen, Eingabe& eingabe);

}  // namespace klebwerk
