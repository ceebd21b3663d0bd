#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/systemkuerzel.h"

// The keys of the desktops' own shortcut settings, as X names them (keysyms), in the
// interface's vocabulary.
namespace klebwerk::linuxdesk {

// The keysym of a key name as GTK writes it ("Print", "r", "space") or as KDE does
// ("Print", "R", "PgUp", "Esc"); none for an unknown name.
std::optional<std::uint32_t> keysymAusName(const std::string& name);

// A combination of a desktop setting as a read: a key that gives a character is
// named by that character (upper case), so that "<Super>z" stays Z on any layout;
// other keys by their virtual key code where they have one (F-keys, arrows, Space),
// else by their English name ("Print", "Scroll Lock").
SystemKuerzelLesung gesetzt(std::uint64_t flaggen, std::uint32_t keysym);

}  // namespace klebwerk::linuxdesk
