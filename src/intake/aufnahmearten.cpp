#include "intake/aufnahmearten.h"

#include <algorithm>

namespace klebwerk {

std::string endung(std::string_view name) {
    if (size_t schraeg = name.rfind('/'); schraeg != std::string_view::npos) name.remove_prefix(schraeg + 1);
    size_t punkt = name.rfind('.');
    if (punkt == std::string_view::npos || punkt == 0) return {};
    std::string e(name.substr(punkt + 1));
    for (char& c : e) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return e;
}

Aufnahmearten Aufnahmearten::mit(const AufnahmeNamen& zusatz) {
    Aufnahmearten a;
    auto dazu = [](std::vector<std::string>& liste, const std::vector<std::string>& neu) {
        for (const auto& n : neu) {
            if (!n.empty() && std::find(liste.begin(), liste.end(), n) == liste.end()) liste.push_back(n);
        }
    };
    dazu(a.bildAnfaenge, zusatz.bildAnfaenge);
    dazu(a.videoAnfaenge, zusatz.videoAnfaenge);
    for (const auto& e : zusatz.bildEndungen) a.bilder.insert(endung("x." + e));
    for (const auto& e : zusatz.videoEndungen) a.videos.insert(endung("x." + e));
    a.bilder.erase("");
    a.videos.erase("");
    return a;
}

AufnahmeArt Aufnahmearten::art(std::string_view name) const {
    std::string e = endung(name);
    if (e.empty()) return AufnahmeArt::keine;
    if (videos.count(e)) return AufnahmeArt::video;
    if (bilder.count(e)) return AufnahmeArt::bild;
    return AufnahmeArt::keine;
}

bool Aufnahmearten::istAufnahmeName(std::string_view name, AufnahmeArt a) const {
    if (size_t schraeg = name.rfind('/'); schraeg != std::string_view::npos) name.remove_prefix(schraeg + 1);
    const auto& anfaenge = a == AufnahmeArt::video ? videoAnfaenge : bildAnfaenge;
    if (a == AufnahmeArt::keine) return false;
    return std::any_of(anfaenge.begin(), anfaenge.end(), [&](const std::string& p) { return name.rfind(p, 0) == 0; });
}

}  // namespace klebwerk
