#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/praeferenzen.h"

namespace klebwerk {

// The screenshot tool's preference domain.
inline const std::string bildschirmfotoDomaene = "com.apple.screencapture";

// The capture folders: the main one first, then every other one once.
struct Fangordner {
    std::string ordner;
    std::vector<std::string> alleOrdner;
};

// The folder named by one location key: a text, "~" and "~user" expanded, as an
// absolute path; none when the key is missing, not a text, empty or relative.
std::optional<std::string> ort(Praeferenzen& praeferenzen, const std::string& schluessel, const std::string& heim);

// "~" → heim, "~/x" → heim/x, "~user/x" → that user's home; anything else unchanged.
std::string erweitereTilde(const std::string& pfad, const std::string& heim);
// A path with "." and ".." components resolved, repeated and trailing "/" removed.
std::string standardisiere(const std::string& pfad);

// "location", else "location-screenshot", else the Desktop folder of the home
// folder; then the screenshot and recording locations, each kept once.
Fangordner bestimmeFangordner(Praeferenzen& praeferenzen, const std::string& heim);

}  // namespace klebwerk
