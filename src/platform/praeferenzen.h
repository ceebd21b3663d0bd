#pragma once

#include <string>

#include "platform/wert.h"

namespace klebwerk {

// Preference domains of other programs: the screenshot tool's ("com.apple.screencapture")
// and the system's symbolic hot keys ("com.apple.symbolichotkeys").
class Praeferenzen {
public:
    virtual ~Praeferenzen() = default;
    virtual Wert lies(const std::string& domaene, const std::string& schluessel) = 0;
    // Writes a value; the absent value removes the key.
    virtual void schreibe(const std::string& domaene, const std::string& schluessel, const Wert& wert) = 0;
    virtual void synchronisiere(const std::string& domaene) = 0;
};

}  // namespace klebwerk
