#pragma once

#include <string>
#include <string_view>

namespace klebwerk {

// Writes a whole file through a temporary file renamed over the old one, so a
// reader never sees half a file and a crash never leaves one. False on any error.
bool schreibeAtomar(const std::string& pfad, std::string_view inhalt);

}  // namespace klebwerk
