#include "app/sprache.h"

#include "basis/prozesswerte.h"

namespace klebwerk {

bool englischAus(const std::optional<std::string>& sprache, const std::vector<std::string>& bevorzugt) {
    if (sprache) return *sprache == "en";
    std::string erste = bevorzugt.empty() ? "de" : bevorzugt.front();
    return erste.rfind("de", 0) != 0;
}

std::string L(const std::string& de, const std::string& en) { return englisch() ? en : de; }

}  // namespace klebwerk
