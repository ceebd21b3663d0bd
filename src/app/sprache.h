#pragma once

#include <optional>
#include <string>
#include <vector>

namespace klebwerk {

// Whether the interface is English: the chosen language ("sprache") if there is
// one, else the first preferred language, German when there is none.
bool englischAus(const std::optional<std::string>& sprache, const std::vector<std::string>& bevorzugt);

// The text for the interface language: `en` when English, else `de`.
std::string L(const std::string& de, const std::string& en);

}  // namespace klebwerk
