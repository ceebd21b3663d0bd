#pragma once

#include <set>
#include <string>

namespace klebwerk {

// Roles that count as a button (learning and searching buttons).
const std::set<std::string>& knopfRollen();
// Roles that count as a text input.
const std::set<std::string>& eingabeRollen();

}  // namespace klebwerk
